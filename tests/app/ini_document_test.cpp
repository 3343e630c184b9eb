#include "app/ini_document.h"

#include <gtest/gtest.h>

#include "app/text_case.h"

namespace kolvio {
namespace {

const char kSample[] =
    "; settings of KOLVIO\n"
    "[Okno]\n"
    "  State = 1 \n"
    "Left=\"  5 \"\n"
    "stray line\n"
    "\n"
    "[Des_mista]\n"
    "delka_des_m=3\n"
    "delka_des_m=1\n"
    "[okno]\n"
    "Top=9\n";

TEST(IniDocument, NamesMatchIgnoringCaseAndBlanksAndFirstOccurrenceWins) {
    const IniDocument doc = IniDocument::Parse(kSample);
    EXPECT_EQ(doc.value("OKNO", "state"), "1");
    EXPECT_EQ(doc.value("Des_mista", "DELKA_DES_M"), "3");
    // The second "[okno]" is shadowed by the first, as in the Windows functions.
    EXPECT_EQ(doc.value("Okno", "Top"), std::nullopt);
    EXPECT_EQ(doc.value("Okno", "stray line"), std::nullopt);
    EXPECT_EQ(doc.value("Okno", "; settings of KOLVIO"), std::nullopt);
}

TEST(IniDocument, QuotedValueLosesQuotesAndOuterBlanksSurviveRoundTrip) {
    IniDocument doc = IniDocument::Parse(kSample);
    EXPECT_EQ(doc.value("Okno", "Left"), "  5 ");
    ASSERT_TRUE(doc.setValue("X", "padded", " a "));
    ASSERT_TRUE(doc.setValue("X", "quoted", "\"b\""));
    ASSERT_TRUE(doc.setValue("X", "equals", "c=d"));
    const IniDocument back = IniDocument::Parse(doc.serialize());
    EXPECT_EQ(back.value("X", "padded"), " a ");
    EXPECT_EQ(back.value("X", "quoted"), "\"b\"");
    EXPECT_EQ(back.value("X", "equals"), "c=d");
}

TEST(IniDocument, EditTouchesOnlyItsLineAndKeepsTheKeySpelling) {
    IniDocument doc = IniDocument::Parse(kSample);
    ASSERT_TRUE(doc.setValue("okno", "STATE", "2"));
    std::string expected = kSample;
    expected.replace(expected.find("  State = 1 "), 12, "State=2");
    EXPECT_EQ(doc.serialize(), expected);
}

TEST(IniDocument, NewKeyGoesBeforeTheBlankLineThatEndsItsSection) {
    IniDocument doc = IniDocument::Parse("[A]\nx=1\n\n[B]\ny=2\n");
    ASSERT_TRUE(doc.setValue("A", "z", "3"));
    ASSERT_TRUE(doc.setValue("C", "w", "4"));
    EXPECT_EQ(doc.serialize(), "[A]\nx=1\nz=3\n\n[B]\ny=2\n\n[C]\nw=4\n");
}

TEST(IniDocument, CrlfTextStaysCrlf) {
    IniDocument doc = IniDocument::Parse("[A]\r\nx=1\r\n");
    EXPECT_EQ(doc.value("A", "x"), "1");  // no stray carriage return in the value
    ASSERT_TRUE(doc.setValue("A", "y", "2"));
    EXPECT_EQ(doc.serialize(), "[A]\r\nx=1\r\ny=2\r\n");
}

TEST(IniDocument, RefusesNamesAndValuesThatWouldBreakTheFile) {
    IniDocument doc = IniDocument::Parse("[A]\nx=1\n");
    EXPECT_FALSE(doc.setValue("A", "x", "1\n[B]"));
    EXPECT_FALSE(doc.setValue("A", "a=b", "1"));
    EXPECT_FALSE(doc.setValue("A", "", "1"));
    EXPECT_FALSE(doc.setValue("A", ";c", "1"));
    EXPECT_FALSE(doc.setValue("A]", "k", "1"));
    EXPECT_EQ(doc.serialize(), "[A]\nx=1\n");
}

// Found by fuzzing: in a file whose first line ends with LF alone, a line
// ending with CR CR LF kept one CR in its value until another key was
// written, which rewrote the line ends and so changed that value.
TEST(IniDocument, StrayCarriageReturnIsNoPartOfAValueSoWritingAnotherKeepsIt) {
    IniDocument doc = IniDocument::Parse("[A]\nx=1\r\r\nz = \r2\r\n");
    EXPECT_EQ(doc.value("A", "x"), "1");
    EXPECT_EQ(doc.value("A", "z"), "2");
    ASSERT_TRUE(doc.setValue("A", "y", "3"));
    const IniDocument back = IniDocument::Parse(doc.serialize());
    EXPECT_EQ(back.value("A", "x"), "1");
    EXPECT_EQ(back.value("A", "z"), "2");
}

TEST(IniDocument, RemoveKeyLeavesEveryOtherLine) {
    IniDocument doc = IniDocument::Parse("[A]\n;c\nx=1\ny=2\n");
    EXPECT_TRUE(doc.removeKey("a", "X"));
    EXPECT_FALSE(doc.removeKey("A", "x"));
    EXPECT_EQ(doc.serialize(), "[A]\n;c\ny=2\n");
}

TEST(TextCase, CzechLettersCompareWithoutCase) {
    EXPECT_TRUE(EqualsFolded("C:\\Jízdy\\ŘÍJEN Žďár", "c:\\JÍZDY\\říjen žĎÁR"));
    EXPECT_FALSE(EqualsFolded("Data", "Dáta"));
}

}  // namespace
}  // namespace kolvio
