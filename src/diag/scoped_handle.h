#pragma once
// The one owner of the handles the core opens through a seam and closes through it again.

// Owns a handle and closes it through the seam's Close when the scope ends, so that no return
// path leaves it open. A handle of 0 is none and is never closed, nor is Invalid: the value some
// openers return for "no handle" (INVALID_HANDLE_VALUE for a device-information set). Move-only.
template <class Seam, class Handle, bool (Seam::*Close)(Handle), Handle Invalid = Handle{}>
class ScopedHandle {
 public:
  ScopedHandle(Seam& seam, Handle handle) : seam_(&seam), handle_(handle) {}
  ~ScopedHandle() { reset(); }
  ScopedHandle(ScopedHandle&& other) noexcept : seam_(other.seam_), handle_(other.release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) {
      reset();
      seam_ = other.seam_;
      handle_ = other.release();
    }
    return *this;
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != 0 && handle_ != Invalid; }
  // Gives the handle up without closing it.
  Handle release() {
    Handle handle = handle_;
    handle_ = 0;
    return handle;
  }
  // Closes now, for callers that must act after the close (a box, a last-error value).
  void reset() {
    if (*this) (seam_->*Close)(release());
    handle_ = 0;
  }

 private:
  Seam* seam_;
  Handle handle_;
};
