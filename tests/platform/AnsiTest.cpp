// Text reaches the catalogue in the ANSI code page (Windows-1252 here and on
// the test machines' Wine): what it can hold is kept, the rest becomes '?'.
#include <gtest/gtest.h>

#include "platform/Ansi.h"

namespace tuho {
namespace {

TEST(AnsiFromUtf16, KeepsLatinLettersAndTheEuroSign) {
  EXPECT_EQ(ansiFromUtf16(u"Caf\u00e9 \u20ac5"), "Caf\xe9 \x80" "5");
}

TEST(AnsiFromUtf16, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(ansiFromUtf16(u"\u4e2d\u6587."), "??.");
  // No best-fit: a Cyrillic A is not an A.
  EXPECT_EQ(ansiFromUtf16(u"\u0410"), "?");
}

TEST(AnsiFromUtf16, SurrogatesBecomeOneQuestionMarkEach) {
  std::u16string pair = u"a\U0001F600b";
  EXPECT_EQ(ansiFromUtf16(pair), "a?b");
  std::u16string lone = {u'x', static_cast<char16_t>(0xD800), u'y', static_cast<char16_t>(0xDC00)};
  EXPECT_EQ(ansiFromUtf16(lone), "x?y?");
}

TEST(AnsiFromUtf8, DecodesValidText) {
  EXPECT_EQ(ansiFromUtf8("Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac"), "Gr\xfc\xdf" "e \x80");
}

TEST(AnsiFromUtf8, InvalidSequencesBecomeQuestionMarks) {
  EXPECT_EQ(ansiFromUtf8("a\xff" "b"), "a?b");
  EXPECT_EQ(ansiFromUtf8("\xc0\xaf"), "??");                // overlong slash
  EXPECT_EQ(ansiFromUtf8("\xed\xa0\x80"), "???");           // encoded surrogate
  EXPECT_EQ(ansiFromUtf8("end\xe2\x82"), "end??");          // cut short
  EXPECT_EQ(ansiFromUtf8("\xf0\x9f\x98\x80"), "?");         // outside the BMP
}

TEST(ExactAnsi, NamesConvertWholeOrNotAtAll) {
  EXPECT_EQ(exactAnsiFromUtf8("Caf\xc3\xa9?"), "Caf\xe9?");  // a '?' of its own stays
  EXPECT_EQ(exactAnsiFromUtf8("\xe9\x9f\xb3"), std::nullopt);
  EXPECT_EQ(exactAnsiFromUtf8("a\xff"), std::nullopt);
  EXPECT_EQ(exactAnsiFromUtf16(u"\u20ac?"), "\x80?");
  EXPECT_EQ(exactAnsiFromUtf16(u"a\U0001F600"), std::nullopt);
}

TEST(Utf8FromAnsi, EncodesTheHighHalf) {
  EXPECT_EQ(utf8FromAnsi("\xe9\x80"), "\xc3\xa9\xe2\x82\xac");
  EXPECT_EQ(utf8FromAnsi("plain"), "plain");
}

}  // namespace
}  // namespace tuho
