// Files tagged by common tag-writing tools, read back. The tools exist only
// on the Linux build host; elsewhere, or when one is missing, the test skips.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/TestFiles.h"
#include "tags/TagReader.h"

namespace tuho::test {
namespace {

// argv: file, major version, encoding. Latin-1 cannot hold the wide texts.
const std::string kMutagenScript = R"(
import sys
from mutagen.id3 import ID3, TIT2, TPE1, TALB, TRCK, TCON, COMM
path, version, enc = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
wide = enc != 0
tag = ID3()
tag.add(TIT2(encoding=enc, text=['Caf\u00e9 ' + 'x' * 600]))
tag.add(TPE1(encoding=enc, text=['Artist \u00ff']))
tag.add(TALB(encoding=enc, text=['\u65e5\u672c Album' if wide else 'Album']))
tag.add(TRCK(encoding=enc, text=['7']))
tag.add(TCON(encoding=enc, text=['Chiptune']))
tag.add(COMM(encoding=enc, lang='eng', desc='d\u00e9sc', text=['Note \u20ac' if wide else 'Note']))
tag.save(path, v2_version=version)
)";

bool runs(const std::string& command) {
#ifdef _WIN32
  (void)command;
  return false;
#else
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
#endif
}

// A copy of a tagless MP3 that the tools accept as audio.
std::string audioCopy(const TempDir& dir, const std::string& name) {
  writeBytes(dir.file(name), readBytes(corpusFile("mutagen__no-tags.mp3")));
  return "'" + dir.file(name) + "'";
}

TrackTag readBack(const TempDir& dir, const std::string& name) {
  TrackTag tag;
  EXPECT_TRUE(readTag(dir.file(name), tag));
  return tag;
}

TEST(GeneratedFiles, MutagenTagsInEveryVersionAndEncoding) {
  if (!runs("/usr/bin/python3 -c 'import mutagen'")) GTEST_SKIP() << "python3-mutagen is not available";
  TempDir dir;
  writeBytes(dir.file("write.py"), Bytes(kMutagenScript.begin(), kMutagenScript.end()));
  for (int version : {3, 4}) {
    for (int encoding : {0, 1, 2, 3}) {
      std::string name = "m" + std::to_string(version) + std::to_string(encoding) + ".mp3";
      SCOPED_TRACE(name);
      std::string arguments = " " + std::to_string(version) + " " + std::to_string(encoding);
      ASSERT_TRUE(runs("/usr/bin/python3 '" + dir.file("write.py") + "' " + audioCopy(dir, name) + arguments));
      TrackTag tag = readBack(dir, name);
      EXPECT_EQ(tag.title, "Caf\xE9 " + std::string(506, 'x'));
      EXPECT_EQ(tag.artist, "Artist \xFF");
      EXPECT_EQ(tag.album, encoding != 0 ? "?? Album" : "Album");
      EXPECT_EQ(tag.trackNo, "07");
      EXPECT_EQ(tag.genre, "Chiptune");
      EXPECT_EQ(tag.comment, encoding != 0 ? "Note \x80" : "Note");
    }
  }
}

TEST(GeneratedFiles, Id3v2ToolWritesBothTags) {
  if (!runs("id3v2 --version")) GTEST_SKIP() << "id3v2 is not available";
  TempDir dir;
  ASSERT_TRUE(runs("id3v2 -a Artist -A Album -t Title -T 5/9 -g 17 -c Note " + audioCopy(dir, "a.mp3")));
  TrackTag tag = readBack(dir, "a.mp3");
  EXPECT_EQ(tag.artist, "Artist");
  EXPECT_EQ(tag.trackNo, "5/9");
  EXPECT_EQ(tag.genre, "Rock");
  EXPECT_EQ(tag.comment, "Note");
}

TEST(GeneratedFiles, EyeD3TagsInEachEncoding) {
  if (!runs("eyeD3 --version")) GTEST_SKIP() << "eyeD3 is not available";
  TempDir dir;
  int index = 0;
  for (const char* options : {"--to-v2.3 --encoding latin1", "--to-v2.3 --encoding utf16", "--to-v2.4 --encoding utf8",
                              "--to-v2.4 --encoding utf16", "--to-v2.4 --encoding utf16-be"}) {
    SCOPED_TRACE(options);
    std::string name = "e" + std::to_string(index++) + ".mp3";
    ASSERT_TRUE(runs(std::string("eyeD3 ") + options + " -a 'Caf\xC3\xA9' -A Album -t Title -n 3 -G Jazz -c Hi " +
                     audioCopy(dir, name)));
    TrackTag tag = readBack(dir, name);
    EXPECT_EQ(tag.artist, "Caf\xE9");
    EXPECT_EQ(tag.title, "Title");
    EXPECT_EQ(tag.trackNo, "03");
    EXPECT_EQ(tag.genre, "Jazz");
    EXPECT_EQ(tag.comment, "Hi");
  }
}

}  // namespace
}  // namespace tuho::test
