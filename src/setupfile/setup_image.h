// The bytes of a setup file in memory. A file of up to 64 MiB is read straight into this buffer:
// growing it does not zero the new bytes first (the read fills them at once), and a large buffer
// starts on a 2 MiB boundary so that the system can back it with large pages, which a file is
// read into many times faster than into 4 KiB pages.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

namespace vx {

// Raw storage for image bytes: large blocks are 2 MiB aligned and offered to the system for large
// pages. Each block is released with the size it was taken with.
void* allocateImageStorage(std::size_t bytes);
void releaseImageStorage(void* storage, std::size_t bytes) noexcept;

// An allocator that leaves new elements default-initialised: for bytes, not written at all.
template <class T>
struct ImageAllocator {
  using value_type = T;

  ImageAllocator() = default;
  template <class U>
  ImageAllocator(const ImageAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(allocateImageStorage(n * sizeof(T)));
  }
  void deallocate(T* p, std::size_t n) noexcept { releaseImageStorage(p, n * sizeof(T)); }

  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }

  friend bool operator==(const ImageAllocator&, const ImageAllocator&) { return true; }
};

// The document's image. Unlike a plain byte vector, resize() leaves the bytes it adds unset;
// whoever grows the image writes them. It converts to and compares with a plain byte vector, so
// code written for one keeps working.
class SetupImage : public std::vector<std::uint8_t, ImageAllocator<std::uint8_t>> {
 public:
  using Base = std::vector<std::uint8_t, ImageAllocator<std::uint8_t>>;
  using Base::Base;
  SetupImage() = default;
  explicit SetupImage(const std::vector<std::uint8_t>& bytes) : Base(bytes.begin(), bytes.end()) {}

  operator std::vector<std::uint8_t>() const { return {begin(), end()}; }

  friend bool operator==(const SetupImage& a, const SetupImage& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }
  friend bool operator==(const SetupImage& a, const std::vector<std::uint8_t>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }
};

}  // namespace vx
