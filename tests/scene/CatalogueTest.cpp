// The catalogue parser, with the Windows directory, the file and the
// message box replaced by a test seam.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "FaceCatalogue.h"

namespace {

// The test seam: a fixed Windows directory, the catalogue served from a
// temporary file, messages and opened paths recorded.
std::string windowsDirectory;
std::string catalogueFile;  // the real file behind every path; "" = missing
std::vector<std::string> openedPaths;
std::vector<std::string> messages;
int allocationsLeft = -1;  // -1: unlimited

unsigned TestWindowsDirectory(char* buffer, unsigned size) {
  if (windowsDirectory.size() + 1 > size) return static_cast<unsigned>(windowsDirectory.size() + 1);
  windowsDirectory.copy(buffer, windowsDirectory.size());
  buffer[windowsDirectory.size()] = '\0';
  return static_cast<unsigned>(windowsDirectory.size());
}

FILE* TestOpenFile(const char* path) {
  openedPaths.push_back(path);
  return catalogueFile.empty() ? nullptr : std::fopen(catalogueFile.c_str(), "r");
}

void TestShowMessage(const char* text, const char* caption) {
  messages.push_back(std::string(caption) + "|" + text);
}

void* TestAllocate(size_t size) {
  if (allocationsLeft == 0) return nullptr;
  if (allocationsLeft > 0) --allocationsLeft;
  return std::malloc(size);
}

const CatalogueSeam kTestSeam = {TestWindowsDirectory, TestOpenFile, TestShowMessage, TestAllocate};

class CatalogueTest : public testing::Test {
 protected:
  void SetUp() override {
    windowsDirectory = "D:\\WINDOWS";
    catalogueFile.clear();
    openedPaths.clear();
    messages.clear();
    allocationsLeft = -1;
    SetCatalogueSeam(&kTestSeam);
  }
  void TearDown() override {
    FreeFaceCatalogue(table_, count_);
    SetCatalogueSeam(nullptr);
    if (!catalogueFile.empty()) std::remove(catalogueFile.c_str());
  }

  // Reads `content` as the catalogue into the fixture's table.
  unsigned Read(const std::string& content) {
    // A name of this process's own: test cases may run in parallel.
    catalogueFile =
        testing::TempDir() + "catalogue_test_" + std::to_string(std::random_device()()) + ".nfo";
    FILE* file = std::fopen(catalogueFile.c_str(), "wb");
    EXPECT_NE(file, nullptr);
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
    count_ = ReadFaceCatalogue("life.nfo", table_, kMaxFaces);
    return count_;
  }

  FaceInfo table_[kMaxFaces] = {};
  unsigned count_ = 0;
};

void ExpectFace(const FaceInfo& face, const char* name, uint32_t width, uint32_t height,
                uint32_t frames, uint32_t rows, uint32_t bornEnd, uint32_t dieStart) {
  ASSERT_NE(face.loadImage, nullptr);
  EXPECT_STREQ(face.loadImage, name);
  EXPECT_EQ(face.frameWidth, width);
  EXPECT_EQ(face.frameHeight, height);
  EXPECT_EQ(face.numFrames, frames);
  EXPECT_EQ(face.numRows, rows);
  EXPECT_EQ(face.bornEnd, bornEnd);
  EXPECT_EQ(face.dieStart, dieStart);
}

TEST_F(CatalogueTest, ReadsOneRecordPerLineInFileOrderKeepingTheNamesCase) {
  ASSERT_EQ(Read("lifeface.bmp 16 16 25 6 5 12\n"
                 "Robots.BMP 32 32 20 4 3 14\n"
                 "tiny.bmp\t8\t8 10 2 2 7\n"),
            3u);
  ExpectFace(table_[0], "lifeface.bmp", 16, 16, 25, 6, 5, 12);
  ExpectFace(table_[1], "Robots.BMP", 32, 32, 20, 4, 3, 14);
  ExpectFace(table_[2], "tiny.bmp", 8, 8, 10, 2, 2, 7);
  EXPECT_EQ(openedPaths, std::vector<std::string>{"D:\\WINDOWS\\life.nfo"});
  EXPECT_TRUE(messages.empty());
}

TEST_F(CatalogueTest, LineEndsCarryNoMeaning) {
  ASSERT_EQ(Read("split.bmp 16 16\r\n   25 6\n\n5 12 a.bmp 1 2 3 4 5 6 b.bmp 7 8 9 10 11 12"), 3u);
  ExpectFace(table_[0], "split.bmp", 16, 16, 25, 6, 5, 12);
  ExpectFace(table_[1], "a.bmp", 1, 2, 3, 4, 5, 6);
  ExpectFace(table_[2], "b.bmp", 7, 8, 9, 10, 11, 12);
}

TEST_F(CatalogueTest, ReadingStopsQuietlyAtTheFirstMalformedRecord) {
  EXPECT_EQ(Read("good.bmp 16 16 25 6 5 12\nbad.bmp 16 16 x 6 5 12\nlater.bmp 1 1 1 1 1 1\n"), 1u);
  ExpectFace(table_[0], "good.bmp", 16, 16, 25, 6, 5, 12);
  FreeFaceCatalogue(table_, count_);
  EXPECT_EQ(Read("good.bmp 16 16 25 6 5 12\ncut.bmp 16 16 25 6 5\n"), 1u);
  FreeFaceCatalogue(table_, count_);
  EXPECT_EQ(Read(""), 0u);
  EXPECT_EQ(Read("  \n\t\n"), 0u);
  EXPECT_TRUE(messages.empty());
}

TEST_F(CatalogueTest, ReadsAtMostTheMaximumNumberOfEntries) {
  std::string content;
  for (int i = 0; i < 60; ++i) content += "face" + std::to_string(i) + ".bmp 16 16 25 6 5 12\n";
  ASSERT_EQ(Read(content), 50u);
  EXPECT_STREQ(table_[49].loadImage, "face49.bmp");
}

TEST_F(CatalogueTest, NumbersAreReadAsScanfReadsUnsigned) {
  // An optional sign, decimal digits only; -1 wraps round to all bits set.
  ASSERT_EQ(Read("neg.bmp -1 +16 016 25 6 5\n"), 1u);
  ExpectFace(table_[0], "neg.bmp", 4294967295u, 16, 16, 25, 6, 5);
}

TEST_F(CatalogueTest, MissingFileIsReportedWithItsFullPath) {
  catalogueFile.clear();
  count_ = ReadFaceCatalogue("life.nfo", table_, kMaxFaces);
  EXPECT_EQ(count_, 0u);
  EXPECT_EQ(messages,
            std::vector<std::string>{"Missing File|Can`t find file, D:\\WINDOWS\\life.nfo"});
}

TEST_F(CatalogueTest, BackslashIsAppendedEvenToARootDirectory) {
  windowsDirectory = "C:\\";
  count_ = ReadFaceCatalogue("life.nfo", table_, kMaxFaces);
  EXPECT_EQ(openedPaths, std::vector<std::string>{"C:\\\\life.nfo"});
  EXPECT_EQ(messages, std::vector<std::string>{"Missing File|Can`t find file, C:\\\\life.nfo"});
}

TEST_F(CatalogueTest, NamesUpTo254CharactersAreKeptAndLongerRecordsPassedOver) {
  const std::string longest(254, 'k');
  const std::string tooLong(255, 'l');
  const std::string huge(100000, 'h');
  ASSERT_EQ(Read(longest + " 1 2 3 4 5 6\n" + tooLong + " 7 7 7 7 7 7\n" + huge +
                 " 8 8 8 8 8 8\nafter.bmp 9 9 9 9 9 9\n"),
            2u);
  EXPECT_EQ(std::string(table_[0].loadImage), longest);
  ExpectFace(table_[1], "after.bmp", 9, 9, 9, 9, 9, 9);
  FreeFaceCatalogue(table_, count_);
  // An over-long name whose record is cut short ends the reading.
  EXPECT_EQ(Read("a.bmp 1 1 1 1 1 1\n" + tooLong + " 7 7\n"), 1u);
}

TEST_F(CatalogueTest, NameWithAZeroByteIsPassedOver) {
  ASSERT_EQ(Read(std::string("a.bmp 1 1 1 1 1 1\nb\0ad.bmp 2 2 2 2 2 2\n\0 3 3 3 3 3 3\n"
                             "c.bmp 4 4 4 4 4 4\n",
                             71)),
            2u);
  EXPECT_STREQ(table_[0].loadImage, "a.bmp");
  ExpectFace(table_[1], "c.bmp", 4, 4, 4, 4, 4, 4);
}

TEST_F(CatalogueTest, FailedNameCopyKeepsTheEntriesReadSoFar) {
  allocationsLeft = 2;
  ASSERT_EQ(Read("a.bmp 1 1 1 1 1 1\nb.bmp 2 2 2 2 2 2\nc.bmp 3 3 3 3 3 3\n"), 2u);
  EXPECT_STREQ(table_[1].loadImage, "b.bmp");
  EXPECT_EQ(table_[2].loadImage, nullptr);
}

TEST_F(CatalogueTest, EntriesOwnTheirNamesAndReleaseClearsThem) {
  ASSERT_EQ(Read("a.bmp 1 1 1 1 1 1\nb.bmp 2 2 2 2 2 2\n"), 2u);
  EXPECT_NE(table_[0].loadImage, table_[1].loadImage);
  FreeFaceCatalogue(table_, count_);
  EXPECT_EQ(table_[0].loadImage, nullptr);
  EXPECT_EQ(table_[1].loadImage, nullptr);
  FreeFaceCatalogue(table_, count_);  // a second release does nothing
}

TEST_F(CatalogueTest, FaceListGetsEveryNameInOrderWithItsIndex) {
  ASSERT_EQ(Read("a.bmp 1 1 1 1 1 1\nB.bmp 2 2 2 2 2 2\nc.bmp 3 3 3 3 3 3\n"), 3u);
  struct List {
    std::vector<std::string> names;
    std::vector<std::pair<unsigned, unsigned>> data;
  } list;
  FaceListOps ops{&list,
                  [](void* l, const char* name) { static_cast<List*>(l)->names.push_back(name); },
                  [](void* l, unsigned index, unsigned data) {
                    static_cast<List*>(l)->data.emplace_back(index, data);
                  }};
  FillFaceListWith(ops, table_, count_);
  EXPECT_EQ(list.names, (std::vector<std::string>{"a.bmp", "B.bmp", "c.bmp"}));
  EXPECT_EQ(list.data, (std::vector<std::pair<unsigned, unsigned>>{{0, 0}, {1, 1}, {2, 2}}));
}

}  // namespace
