// The operating-system layer: errno values map to the system error codes
// the report shows, and files open only as record files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "rio/platform.h"
#include "rio/support/temp_dir.h"

namespace rio {
namespace {

struct ErrnoCase {
  int error_number;
  int code;
};

class ErrnoMapping : public ::testing::TestWithParam<ErrnoCase> {};

TEST_P(ErrnoMapping, GivesTheSystemErrorCode) {
  EXPECT_EQ(platform::map_errno(GetParam().error_number), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Errnos, ErrnoMapping,
    ::testing::Values(ErrnoCase{0, 0}, ErrnoCase{ENOENT, 2}, ErrnoCase{ENOTDIR, 3}, ErrnoCase{EACCES, 5},
                      ErrnoCase{EPERM, 5}, ErrnoCase{EISDIR, 5}, ErrnoCase{EROFS, 5}, ErrnoCase{ETXTBSY, 32},
                      ErrnoCase{EBUSY, 32}, ErrnoCase{ENOSPC, 112}, ErrnoCase{EMFILE, 4},
                      ErrnoCase{ENAMETOOLONG, 206}, ErrnoCase{EEXIST, 80}, ErrnoCase{EIO, 1117}));

class PlatformFiles : public test::TempDirTest {};

TEST_F(PlatformFiles, AMissingFileAndAMissingDirectoryAreToldApart) {
  EXPECT_EQ(platform::map_errno(ENOENT, "absent.txt"), 2);
  EXPECT_EQ(platform::map_errno(ENOENT, "nodir/absent.txt"), 3);
  auto r = platform::open_file("absent.txt", platform::Access::kReadWrite, platform::Disposition::kOpenExisting);
  EXPECT_EQ(r.error, 2);
  r = platform::open_file("nodir/a.txt", platform::Access::kReadWrite, platform::Disposition::kOpenOrCreate);
  EXPECT_EQ(r.error, 3);
}

TEST_F(PlatformFiles, ADirectoryIsNeverOpenedAsAFile) {
  ::mkdir(path("d").c_str(), 0755);
  for (auto access : {platform::Access::kRead, platform::Access::kReadWrite}) {
    auto r = platform::open_file("d", access, platform::Disposition::kOpenOrCreate);
    EXPECT_EQ(r.error, 5);
    EXPECT_EQ(r.handle, -1);
  }
}

TEST_F(PlatformFiles, TemporaryNamesStartWithThePrefixAndLeaveNoFile) {
  ::setenv("TMPDIR", dir().c_str(), 1);
  std::string name;
  ASSERT_EQ(platform::temporary_name("VLM", name), 0);
  ::unsetenv("TMPDIR");
  EXPECT_EQ(name.rfind(dir() + "/VLM", 0), 0u);
  EXPECT_FALSE(platform::file_exists(name));
}

}  // namespace
}  // namespace rio
