// The literal heap of the interface functions' text arguments, and the expansion of their
// object lists.
#include <algorithm>
#include <cstring>
#include "language/values.h"

// Appends len characters and a terminator to the literal heap. Status 1 on a negative length,
// handle, count or capacity; 2 when the heap cannot grow; else 0.
void storelt_(Work& W, MasterRecord& L, int32_t& heap, int32_t& used, int32_t& cap, const char* text, int32_t len,
              int32_t& status) {
  status = 0;
  if (len < 0 || heap < 0 || used < 0 || cap < 0) {
    status = 1;
    return;
  }
  if (heap == 0 || (int64_t)used + len + 1 > cap) {
    int64_t want = std::max<int64_t>(2 * ((int64_t)len + used) + 2, 256);
    if (want > 2147483640LL) {
      status = 2;
      return;
    }
    int32_t cnt = (int32_t)want, st = 0;
    setblk_(1, cnt, W, L, heap, st);
    if (st != 0) {
      status = 2;
      return;
    }
    cap = cnt;
  }
  int64_t b = wbyte(L.START[heap]) + used;
  for (int32_t i = 0; i < len; ++i) cput(W, b + i, text[i]);
  cput(W, b + len, 0);
  used += len + 1;
}

// Copies the text starting at position start of the heap (up to its terminator) into text;
// len is the number of characters before the terminator.
void strfrmhp_(const Work& W, const MasterRecord& L, int32_t heap, int32_t start, char* text, int32_t& len) {
  len = 0;
  int64_t b = wbyte(L.START[heap]);
  int64_t end = (int64_t)L.LEN[heap] * 4;
  for (int64_t k = start; k <= end; ++k) {
    char c = cget(W, b + k - 1);
    text[len] = c;
    if (c == 0) return;
    ++len;
  }
  text[len] = 0;
}

// Copies the text after position pos of the heap into the integer list, one character code
// per word, the terminator included; pos ends on the terminator, listPos on its word.
void heapstrcpy_(Work& W, MasterRecord& L, int32_t heap, int32_t& pos, int32_t& list, int32_t& listPos,
                 int32_t& listCap, int32_t& status) {
  status = 0;
  int64_t end = (int64_t)L.LEN[heap] * 4;
  for (;;) {
    if (list == 0 || (int64_t)listPos + 1 > listCap) {
      int32_t cnt = listCap + 256;
      setblk_(2, cnt, W, L, list, status);
      if (status != 0) return;
      listCap = cnt;
    }
    ++pos;
    char c = pos <= end ? cget(W, wbyte(L.START[heap]) + pos - 1) : 0;
    iput(W, L, list, ++listPos, (int32_t)(unsigned char)c);
    if (c == 0) return;
  }
}

// Expands each derived set of an object list (type 12, kind 5) into one entry per index
// position: that position's primitive set, type 12, owner the derived set, kind 5. The new
// lists are blocks of their own. Status 1 when they cannot be had.
void expandarglist_(Work& W, MasterRecord& L, int32_t count, int32_t& newCount, const int32_t* num, const int32_t* type,
                    const int32_t* owner, const int32_t* kind, int32_t& newNum, int32_t& newType, int32_t& newOwner,
                    int32_t& newKind, int32_t& status) {
  status = 0;
  newCount = 0;
  int32_t cap = 0;
  int32_t* lists[4] = {&newNum, &newType, &newOwner, &newKind};
  auto add = [&](int32_t a, int32_t b, int32_t c, int32_t d) {
    if (newCount + 1 > cap) {
      int32_t want = std::max(2 * count + 2, 8);
      while (want < newCount + 1) want *= 2;
      for (int32_t* h : lists) {
        int32_t cnt = want, st = 0;
        setblk_(2, cnt, W, L, *h, st);
        if (st != 0) return false;
      }
      cap = want;
    }
    ++newCount;
    iput(W, L, newNum, newCount, a);
    iput(W, L, newType, newCount, b);
    iput(W, L, newOwner, newCount, c);
    iput(W, L, newKind, newCount, d);
    return true;
  };
  for (int32_t i = 0; i < count; ++i) {
    bool ok = true;
    if (type[i] == 12 && kind[i] == NTSETD && setdim(W, L, num[i]) > 0) {
      int32_t s = num[i], first = iget(W, L, L.LXSTUB, s);
      for (int32_t c = 0; c < setdim(W, L, s) && ok; ++c) ok = add(iget(W, L, L.NDXSTB, first + c), 12, s, NTSETD);
    } else {
      ok = add(num[i], type[i], owner[i], kind[i]);
    }
    if (!ok) {
      status = 1;
      return;
    }
  }
}
