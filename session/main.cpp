// Program entry.
#include <cstdio>
int main() { return 0; }
