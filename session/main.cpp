// Program entry.
#include "session/session.h"

int main() { return MAIN__(); }
