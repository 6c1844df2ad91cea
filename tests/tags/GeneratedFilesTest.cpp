// Files tagged by common tag-writing tools, read back. The tools exist only
// on the Linux build host; elsewhere, or when one is missing, the test skips.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/TestFiles.h"
#include "tags/TagReader.h"

namespace tuho::test {
namespace {

// Writes a full tag with mutagen: argv = file, major version, encoding.
const char* const kMutagenScript = R"(
import sys
from mutagen.id3 import ID3, TIT2, TPE1, TALB, TRCK, TCON, COMM
path, version, enc = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
tag = ID3()
tag.add(TIT2(encoding=enc, text=['Caf\u00e9 ' + 'x' * 600]))
tag.add(TPE1(encoding=enc, text=['Artist \u00ff']))
wide = enc != 0  # Latin-1 cannot hold the wide texts
tag.add(TALB(encoding=enc, text=['\u65e5\u672c Album' if wide else 'Album']))
tag.add(TRCK(encoding=enc, text=['7']))
tag.add(TCON(encoding=enc, text=['Chiptune']))
tag.add(COMM(encoding=enc, lang='eng', desc='d\u00e9sc', text=['Note \u20ac' if wide else 'Note']))
tag.save(path, v2_version=version)
)";

bool onBuildHost() {
#ifdef _WIN32
  return false;
#else
  return true;
#endif
}

bool hasProgram(const std::string& command) {
  return onBuildHost() && std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string shellQuoted(const std::string& text) { return "'" + text + "'"; }

// A copy of a tagless MP3 that the tools accept as audio.
std::string audioCopy(const TempDir& dir, const std::string& name) {
  std::string path = dir.file(name);
  writeBytes(path, readBytes(corpusFile("mutagen__no-tags.mp3")));
  return path;
}

TrackTag readBack(const std::string& path) {
  TrackTag tag;
  EXPECT_EQ(readTag(path, tag), 0);
  return tag;
}

TEST(GeneratedFiles, MutagenTagsInEveryVersionAndEncoding) {
  if (!hasProgram("/usr/bin/python3 -c 'import mutagen'")) GTEST_SKIP() << "python3-mutagen is not available";
  TempDir dir;
  std::string script = dir.file("write.py");
  writeBytes(script, Bytes(kMutagenScript, kMutagenScript + std::char_traits<char>::length(kMutagenScript)));
  for (int version : {3, 4}) {
    for (int encoding : {0, 1, 2, 3}) {
      SCOPED_TRACE("version " + std::to_string(version) + " encoding " + std::to_string(encoding));
      std::string path = audioCopy(dir, "m" + std::to_string(version) + std::to_string(encoding) + ".mp3");
      std::string command = "/usr/bin/python3 " + shellQuoted(script) + " " + shellQuoted(path) + " " +
                            std::to_string(version) + " " + std::to_string(encoding);
      ASSERT_EQ(std::system(command.c_str()), 0);
      TrackTag tag = readBack(path);
      EXPECT_EQ(tag.title, ("Caf\xE9 " + std::string(600, 'x')).substr(0, 511));
      EXPECT_EQ(tag.artist, "Artist \xFF");
      EXPECT_EQ(tag.trackNo, "07");
      EXPECT_EQ(tag.genre, "Chiptune");
      EXPECT_EQ(tag.album, encoding != 0 ? "?? Album" : "Album");
      EXPECT_EQ(tag.comment, encoding != 0 ? "Note \x80" : "Note");
    }
  }
}

TEST(GeneratedFiles, Id3v2ToolWritesBothTags) {
  if (!hasProgram("id3v2 --version")) GTEST_SKIP() << "id3v2 is not available";
  TempDir dir;
  std::string path = audioCopy(dir, "id3lib.mp3");
  std::string command = "id3v2 -a 'Some Artist' -A 'Some Album' -t 'Some Title' -T 5/9 -g 17 -c 'A note' " +
                        shellQuoted(path) + " >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  TrackTag tag = readBack(path);
  EXPECT_EQ(tag.artist, "Some Artist");
  EXPECT_EQ(tag.album, "Some Album");
  EXPECT_EQ(tag.title, "Some Title");
  EXPECT_EQ(tag.trackNo, "5/9");
  EXPECT_EQ(tag.genre, "Rock");
  EXPECT_EQ(tag.comment, "A note");
}

TEST(GeneratedFiles, EyeD3TagsInEachEncoding) {
  if (!hasProgram("eyeD3 --version")) GTEST_SKIP() << "eyeD3 is not available";
  struct Case { const char* version; const char* encoding; };
  const Case cases[] = {{"--to-v2.3", "latin1"}, {"--to-v2.3", "utf16"}, {"--to-v2.4", "utf8"},
                        {"--to-v2.4", "utf16"}, {"--to-v2.4", "utf16-be"}};
  TempDir dir;
  int index = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.version) + " " + c.encoding);
    std::string path = audioCopy(dir, "eye" + std::to_string(index++) + ".mp3");
    std::string command = std::string("eyeD3 ") + c.version + " --encoding " + c.encoding +
                          " -a 'Caf\xC3\xA9' -A 'Album' -t 'Title' -n 3 -G Jazz -c 'Hello' " + shellQuoted(path) +
                          " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    TrackTag tag = readBack(path);
    EXPECT_EQ(tag.artist, "Caf\xE9");
    EXPECT_EQ(tag.album, "Album");
    EXPECT_EQ(tag.title, "Title");
    EXPECT_EQ(tag.trackNo, "03");
    EXPECT_EQ(tag.genre, "Jazz");
    EXPECT_EQ(tag.comment, "Hello");
  }
}

}  // namespace
}  // namespace tuho::test
