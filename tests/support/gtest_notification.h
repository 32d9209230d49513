// GoogleTest for the Windows target, whose C++ library (mingw-w64 GCC 12,
// win32 threading model) has no std::mutex or std::condition_variable.
// GoogleTest uses them for one class only, Notification, which serves its
// own tests of threads; every other lock of it is a Win32 critical section.
// This header supplies Notification without them and is included before
// anything else in every file that builds or uses GoogleTest on that target
// (cmake/GoogleTest.cmake). The plug-in's tests start no thread.
#ifndef BRISKO_TESTS_SUPPORT_GTEST_NOTIFICATION_H
#define BRISKO_TESTS_SUPPORT_GTEST_NOTIFICATION_H

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

// Lets a controlling thread hold newly created threads until it notifies
// them; waiting spins, which is enough for what GoogleTest uses it for.
class Notification {
 public:
  Notification() = default;
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { notified_.store(true, std::memory_order_release); }
  void WaitForNotification() {
    while (!notified_.load(std::memory_order_acquire)) {
    }
  }

 private:
  std::atomic<bool> notified_{false};
};

}  // namespace internal
}  // namespace testing

#endif  // BRISKO_TESTS_SUPPORT_GTEST_NOTIFICATION_H
