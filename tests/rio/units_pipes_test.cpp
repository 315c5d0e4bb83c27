// Files the default OPEN must cope with: a named pipe or a shell's /dev/fd
// pipe whose writer sends too few records ends with end of file instead of
// waiting for ever, and a file that refuses writing (or reading) is opened
// for what it allows, a transfer the other way then failing with its error.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "rio/rio.h"
#include "rio/status.h"
#include "rio/units.h"
#include "rio/support/recording_hooks.h"
#include "rio/support/temp_dir.h"

namespace rio {
namespace {

class DefaultOpenTest : public test::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    test::install_recording_hooks();
  }

  int open_unit(const std::string& name, const char* action = nullptr) {
    OpenSpec spec;
    spec.unit = &unit;
    spec.iostat = &iostat;
    spec.file = {name.c_str(), name.size()};
    if (action) spec.action = {action, std::char_traits<char>::length(action)};
    return io_open(spec);
  }

  // One list-directed READ of count integers from the unit, with IOSTAT=.
  int read_integers(int count) {
    ControlInfo control;
    control.unit = &unit;
    control.iostat = &iostat;
    values.assign(static_cast<std::size_t>(count), -99);
    std::vector<ItemDescriptor> items;
    for (int& v : values) items.push_back(ItemDescriptor{kItemScalar, kInteger4, &v, 0});
    return io_read(kPhaseWhole, &control, items);
  }

  int write_integer(int value) {
    ControlInfo control;
    control.unit = &unit;
    control.iostat = &iostat;
    ItemDescriptor item{kItemScalar, kInteger4, &value, 0};
    return io_write(kPhaseWhole, &control, {&item, 1});
  }

  int unit = 1;
  int iostat = 0;
  std::vector<int> values;
};

// Ends the test process when a read that should see end of data hangs, so
// that the failure shows instead of the suite waiting for ever.
class HangGuard {
 public:
  explicit HangGuard(const char* what) : what_(what), thread_([this] { watch(); }) {}
  ~HangGuard() {
    done_ = true;
    thread_.join();
  }

 private:
  void watch() {
    for (int i = 0; i < 200 && !done_; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (done_) return;
    std::fprintf(stderr, "FAILED: %s did not end within 10 s\n", what_);
    std::_Exit(3);
  }
  const char* what_;
  std::atomic<bool> done_{false};
  std::thread thread_;
};

TEST_F(DefaultOpenTest, ANamedPipeWithTooFewRecordsEndsWithEndOfFile) {
  ASSERT_EQ(::mkfifo(path("den.fifo").c_str(), 0600), 0);
  std::thread writer([this] {
    int fd = ::open(path("den.fifo").c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    const char text[] = "3\r\n1 2 0 0 1.0\r\n";
    ASSERT_EQ(::write(fd, text, sizeof text - 1), static_cast<ssize_t>(sizeof text - 1));
    ::close(fd);
  });
  HangGuard guard("a READ from a named pipe");
  ASSERT_EQ(open_unit("den.fifo"), 0);
  writer.join();
  EXPECT_EQ(read_integers(1), 0);
  EXPECT_EQ(values[0], 3);
  EXPECT_EQ(read_integers(4), 0);
  EXPECT_EQ(read_integers(4), 1);
  EXPECT_EQ(iostat, -1);
}

TEST_F(DefaultOpenTest, AShellPipeNamedThroughDevFdIsReadToItsEnd) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  const char text[] = "5\r\n6\r\n";
  ASSERT_EQ(::write(ends[1], text, sizeof text - 1), static_cast<ssize_t>(sizeof text - 1));
  ::close(ends[1]);
  HangGuard guard("a READ from /dev/fd");
  ASSERT_EQ(open_unit("/dev/fd/" + std::to_string(ends[0])), 0);
  EXPECT_EQ(read_integers(1), 0);
  EXPECT_EQ(read_integers(1), 0);
  EXPECT_EQ(values[0], 6);
  EXPECT_EQ(read_integers(1), 1);
  EXPECT_EQ(iostat, -1);
  ::close(ends[0]);
}

TEST_F(DefaultOpenTest, APipeUnitCannotBeWrittenWithoutActionWrite) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ::close(ends[1]);
  ASSERT_EQ(open_unit("/dev/fd/" + std::to_string(ends[0])), 0);
  EXPECT_EQ(write_integer(1), 1);
  EXPECT_EQ(iostat, kFileNotOpenForWrite);
  ::close(ends[0]);
}

// Makes a file refuse writing, also to the superuser (whom permission bits
// do not bind) through the immutable flag; undone at the end of the test.
class WriteRefusal {
 public:
  explicit WriteRefusal(const std::string& file) : file_(file) {
    ::chmod(file.c_str(), 0444);
    if (::geteuid() != 0) {
      active_ = true;
      return;
    }
    int fd = ::open(file.c_str(), O_RDONLY);
    int flags = 0;
    if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
      flags |= FS_IMMUTABLE_FL;
      immutable_ = active_ = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    if (fd >= 0) ::close(fd);
  }
  ~WriteRefusal() {
    if (!immutable_) return;
    int fd = ::open(file_.c_str(), O_RDONLY);
    int flags = 0;
    if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
      flags &= ~FS_IMMUTABLE_FL;
      ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    if (fd >= 0) ::close(fd);
  }
  bool active() const { return active_; }

 private:
  std::string file_;
  bool active_ = false;
  bool immutable_ = false;
};

TEST_F(DefaultOpenTest, AFileThatRefusesWritingIsOpenedForReading) {
  write_file("ro.den", "2\r\n1 2 0 0 1.5\r\n");
  WriteRefusal refusal(path("ro.den"));
  if (!refusal.active()) GTEST_SKIP() << "this file system cannot refuse writing to the superuser";
  ASSERT_EQ(open_unit("ro.den"), 0);
  EXPECT_EQ(read_integers(1), 0);
  EXPECT_EQ(values[0], 2);
  EXPECT_EQ(write_integer(7), 1);
  EXPECT_EQ(iostat, kFileNotOpenForWrite);
  CloseSpec close;
  close.unit = &unit;
  EXPECT_EQ(io_close(close), 0);
  EXPECT_EQ(read_file("ro.den"), "2\r\n1 2 0 0 1.5\r\n");
}

TEST_F(DefaultOpenTest, AFileThatRefusesWritingStillRefusesActionWrite) {
  write_file("ro2.den", "2\r\n");
  WriteRefusal refusal(path("ro2.den"));
  if (!refusal.active()) GTEST_SKIP() << "this file system cannot refuse writing to the superuser";
  EXPECT_EQ(open_unit("ro2.den", "READWRITE"), 1);
  EXPECT_EQ(iostat, 5);
  EXPECT_EQ(connected_unit(1), nullptr);
}

TEST_F(DefaultOpenTest, AFileThatRefusesReadingIsOpenedForWriting) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  write_file("wo.txt", "old\r\n");
  ::chmod(path("wo.txt").c_str(), 0222);
  ASSERT_EQ(open_unit("wo.txt"), 0);
  EXPECT_EQ(write_integer(7), 0);
  EXPECT_EQ(read_integers(1), 1);
  EXPECT_EQ(iostat, kFileNotOpenForRead);
  CloseSpec close;
  close.unit = &unit;
  EXPECT_EQ(io_close(close), 0);
  ::chmod(path("wo.txt").c_str(), 0644);
  EXPECT_EQ(read_file("wo.txt"), " 7\r\n");
}

}  // namespace
}  // namespace rio
