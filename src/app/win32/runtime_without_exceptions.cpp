// Zeduzovir.exe is built without exceptions, but the C++ library's string and vector code still
// reports a failure (out of memory, a length past the maximum) by throwing. Its throwing helpers
// would bring the whole exception runtime, the name demangler and printf into the program, three
// quarters of its size. These take their place and end the program, as the uncaught exception
// did before.
//
// They are the library's own names, so the link guards them: should the library come to need a
// helper that is not here, it links its own file of them, whose definitions then clash with
// these, and the link fails instead of the program growing back or changing.

#include <bits/functexcept.h>

#include <cstdlib>
#include <new>

namespace std {

void __throw_bad_alloc() {
  abort();
}
void __throw_bad_array_new_length() {
  abort();
}
void __throw_length_error(const char*) {
  abort();
}
void __throw_logic_error(const char*) {
  abort();
}
void __throw_out_of_range_fmt(const char*, ...) {
  abort();
}

}  // namespace std

void* operator new(std::size_t size) {
  if (void* block = std::malloc(size == 0 ? 1 : size)) {
    return block;
  }
  std::abort();
}

void operator delete(void* block) noexcept {
  std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}
