// Inputs read once, whole and bounded: the format told from the first
// bytes (or every format's reason why not, in one line), a byte order mark
// skipped, .npy arrays of either precision and byte order, nothing after
// an array, and pipes and endless devices read as far as they need to be.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <functional>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "formats/input_source.h"
#include "formats/inputs.h"
#include "formats/support/scratch_folder.h"
#include "model/errors.h"

namespace compare {
namespace {

namespace fs = std::filesystem;

using formats_test::refusal;
using formats_test::ScratchFolder;

// Four objects: {1,2} at 0.5, {3,4} at 0.75, all at 1.0, every value exact
// in single precision.
const std::vector<MergeRecord> kFour = {{1, 2, 1, 1, 0.5f}, {3, 4, 1, 1, 0.75f}, {1, 3, 2, 2, 1.0f}};
const double kLinkage[] = {0, 1, 0.5, 2, 2, 3, 0.75, 2, 4, 5, 1.0, 4};

// numpy.save's bytes: the magic, version 1.0, the header padded to 64, the
// values in the descr's type and byte order.
std::string npy_of(const std::string& descr) {
  std::string dict = "{'descr': '" + descr + "', 'fortran_order': False, 'shape': (3, 4), }";
  dict.append(63 - (10 + dict.size()) % 64, ' ');
  dict += '\n';
  std::string bytes("\x93NUMPY\x01\x00", 8);
  bytes += static_cast<char>(dict.size());
  bytes += '\0';
  bytes += dict;
  const bool big = descr[0] == '>', four = descr.ends_with("4");
  for (double value : kLinkage) {
    char raw[8];
    const float single = static_cast<float>(value);
    std::memcpy(raw, four ? static_cast<const void*>(&single) : &value, four ? 4 : 8);
    std::string item(raw, four ? 4 : 8);
    if (big) std::reverse(item.begin(), item.end());
    bytes += item;
  }
  return bytes;
}

TEST(InputSource, NpyMatricesOfEitherPrecisionAndByteOrderReadAlike) {
  ScratchFolder dir;
  for (const char* descr : {"<f8", ">f8", "<f4", ">f4"}) {
    try {
      EXPECT_EQ(read_dendrogram(dir.write("z.npy", npy_of(descr))).merges, kFour) << descr;
    } catch (const InputError& e) {
      ADD_FAILURE() << descr << ": " << e.what();
    }
  }
}

TEST(InputSource, BytesAfterTheArrayAreRefused) {
  ScratchFolder dir;
  const std::string file = dir.write("z.npy", npy_of("<f8") + std::string(1000, '\0'));
  EXPECT_EQ(refusal([&] { read_dendrogram(file); }), file + ": 1000 bytes follow the array; a .npy file ends with it");
}

// Windows editors and R's fileEncoding = "UTF-8-BOM" put one first.
TEST(InputSource, AByteOrderMarkIsSkipped) {
  ScratchFolder dir;
  const std::string mark = "\xEF\xBB\xBF";
  const std::vector<std::string> files = {
      dir.write("z.txt", mark + "0 1 0.5 2\n2 3 0.75 2\n4 5 1 4\n"),
      dir.write("h.csv", mark + "\"\",\"X1\",\"X2\",\"height\"\n\"1\",-1,-2,0.5\n\"2\",-3,-4,0.75\n\"3\",1,2,1\n"),
      dir.write("t.nwk", mark + "((a:0.5,b:0.5):0.5,(c:0.75,d:0.75):0.25);"),
      dir.write("t.txt", mark + "((a:0.5,b:0.5):0.5,(c:0.75,d:0.75):0.25);"),
  };
  for (const std::string& file : files) {
    try {
      EXPECT_EQ(read_dendrogram(file).merges, kFour) << file;
    } catch (const InputError& e) {
      ADD_FAILURE() << e.what();
    }
  }
  const std::string labels = dir.write("labels.txt", mark + "a\nb\n");
  EXPECT_EQ(read_labels(labels), (std::vector<std::string>{"a", "b"}));
}

TEST(InputSource, ANewickTreeIsKnownByItsFirstCharacterAfterComments) {
  ScratchFolder dir;
  const std::string tree = dir.write("t.txt", "[&R] [another comment]\n ((a:0.5,b:0.5):0.5,(c:0.75,d:0.75):0.25);\n");
  EXPECT_EQ(detect_input_format(tree), InputFormat::newick);
  EXPECT_EQ(read_dendrogram(tree).merges, kFour);
}

TEST(InputSource, WhenNoFormatFitsOneLineSaysWhyForEach) {
  ScratchFolder dir;
  const std::string semicolons = dir.write("z.txt", "0.0;1.0;0.5;2.0\n2.0;3.0;0.75;2.0\n");
  EXPECT_EQ(refusal([&] { read_dendrogram(semicolons); }),
            semicolons +
                ": no input format fits: den: line 1 begins with '0.0;1.0;0.5;2.0', not with the object count; "
                "npy: it does not begin as a NumPy .npy file does; linkage: line 1 holds 1 value, not the 4 of a "
                "linkage row (values are separated by blanks, tabs or commas); hclust: line 1 holds 1 value; an "
                "hclust row holds merge[,1], merge[,2] and height, after an optional row name; newick: a tree "
                "begins with '(', this text with '0'");
  const std::string five = dir.write("five.csv", "# ids\n1 2 3 4 5\n");
  const std::string message = refusal([&] { read_dendrogram(five); });
  EXPECT_NE(message.find("den: line 2 holds 5 values; our own format begins with the object count;"),
            std::string::npos)
      << message;
  EXPECT_EQ(refusal([&] { read_dendrogram(dir.write("empty.txt", "\n# nothing\n")); }),
            dir.path("empty.txt") + ": no input format fits: npy: it does not begin as a NumPy .npy file does; den, "
                                    "linkage, hclust, newick: it holds nothing but blanks and '#' comments");
}

// Both would once be read until memory ran out.
TEST(InputSource, EndlessDevicesAreRefusedAtOnce) {
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(refusal([] { read_dendrogram("/dev/zero"); }),
            "/dev/zero: no input format fits: npy: it does not begin as a NumPy .npy file does; den, linkage, hclust, "
            "newick: a NUL byte at byte 1, so it is no text");
  EXPECT_NE(refusal([] { read_dendrogram("/dev/urandom"); }).find("/dev/urandom: no input format fits"),
            std::string::npos);
  EXPECT_EQ(refusal([] { read_dendrogram("/dev/zero", {InputFormat::linkage_text, {}}); }),
            "/dev/zero: a NUL byte at byte 1; this is no text file");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

// A FIFO can be opened and read only once: the format is told and the tree
// read from the same bytes.
class Fifo {
 public:
  Fifo(const std::string& path, std::string content) : path_(path) {
    std::signal(SIGPIPE, SIG_IGN);  // a reader that stops early ends the writer's write
    if (::mkfifo(path.c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed");
    writer_ = std::thread([this, content = std::move(content)] {
      const int out = ::open(path_.c_str(), O_WRONLY);
      for (std::size_t done = 0; out >= 0 && done < content.size();) {
        const ssize_t n = ::write(out, content.data() + done, content.size() - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
      }
      if (out >= 0) ::close(out);
    });
  }
  ~Fifo() { writer_.join(); }

 private:
  std::string path_;
  std::thread writer_;
};

TEST(InputSource, APipeIsReadOnceForItsFormatAndItsContent) {
  ScratchFolder dir;
  std::string den = "4\n";
  den.append(1500000, '\n');  // blank records, past the first read
  den += "1 2 1 1 0.5\n3 4 1 1 0.75\n1 3 2 2 1\n";
  for (const std::string& content : {npy_of("<f8"), den, std::string("((a:0.5,b:0.5):0.5,(c:0.75,d:0.75):0.25);")}) {
    const std::string path = dir.path("pipe");
    fs::remove(path);
    Fifo fifo(path, content);
    EXPECT_EQ(read_dendrogram(path).merges, kFour);
  }
}

TEST(InputSource, AStreamBeyondTheMemoryAllowedIsRefused) {
  ScratchFolder dir;
  const std::string path = dir.path("pipe");
  std::string endless;
  for (int i = 0; i < 300000; ++i) endless += "0 1 0.5 2\n";  // 3 MB
  Fifo fifo(path, endless);
  ReadOptions options{InputFormat::linkage_text, {}};
  options.memory_limit = 1000000;
  EXPECT_EQ(refusal([&] { read_dendrogram(path, options); }),
            path + ": more than 1.0 MB, the most memory an input may take");
}

}  // namespace
}  // namespace compare
