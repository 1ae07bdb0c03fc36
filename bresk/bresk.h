/* The BRESK solver library: C interface. */
#ifndef BRESK_H
#define BRESK_H
#ifdef __cplusplus
extern "C" {
#endif

/* Fills ver and build (at least 200 characters each) with NUL-terminated texts. */
int BRgetVersionInfo(char* ver, char* build);

#ifdef __cplusplus
}
#endif
#endif
