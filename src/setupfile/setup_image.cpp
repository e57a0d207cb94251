#include "setupfile/setup_image.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vx {
namespace {

// Blocks from this size on are placed on large-page boundaries and rounded up to whole large
// pages; the few unused bytes at the end are never touched.
constexpr std::size_t LargePage = std::size_t{2} << 20;

bool isLarge(std::size_t bytes) { return bytes >= LargePage; }
std::size_t roundedUp(std::size_t bytes) { return (bytes + LargePage - 1) / LargePage * LargePage; }

}  // namespace

void* allocateImageStorage(std::size_t bytes) {
  if (!isLarge(bytes)) {
    return ::operator new(bytes);
  }
  if (bytes > static_cast<std::size_t>(-1) - LargePage) throw std::bad_array_new_length();
  void* storage = ::operator new (roundedUp(bytes), std::align_val_t{LargePage});
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Only advice: without large pages the buffer works the same, only slower to fill.
  ::madvise(storage, roundedUp(bytes), MADV_HUGEPAGE);
#endif
  return storage;
}

void releaseImageStorage(void* storage, std::size_t bytes) noexcept {
  if (!isLarge(bytes)) {
    ::operator delete(storage);
    return;
  }
  // clang-format 14 would write "operator delete (" here.
  // clang-format off
  ::operator delete(storage, std::align_val_t{LargePage});
  // clang-format on
}

}  // namespace vx
