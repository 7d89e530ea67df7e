// Integer boxes: typed characters other than digits and "-" are dropped, pasted text is not, and
// leaving the box normalises its text.
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

#include "tests/gui/window_fixture.h"
#include "ui/integer_edit.h"

namespace {

struct Normalised {
    const char* text;
    const char* expected;
};

const Normalised kNormalised[] = {
    {"007", "7"},
    {"0", ""},
    {"", ""},
    {"abc", ""},
    {"-0", ""},
    {"99999999999", "2147483647"},
    {"-99999999999", "-2147483648"},
    {"2147483647", "2147483647"},
    {"2147483648", "2147483647"},
    {"-2147483648", "-2147483648"},
    {"99999999999999999999999999", "2147483647"},
    {"-99999999999999999999999999", "-2147483648"},
    {"  12x3", "12"},
    {"\t+5", "5"},
    {"--5", ""},
    {"5-", "5"},
    {"-5", "-5"},
};

TEST(NormalisedIntegerText, ReadsA64BitNumberClampsItAndShowsZeroAsEmpty) {
    for (const Normalised& c : kNormalised) {
        EXPECT_EQ(NormalisedIntegerText(QString::fromUtf8(c.text)), QString::fromUtf8(c.expected)) << c.text;
    }
}

using IntegerBoxes = ShownWindow;

TEST_F(IntegerBoxes, TypedLettersAreDroppedAndDigitsAndMinusTaken) {
    struct Typed {
        const char* keys;
        const char* expected;
    };
    const Typed cases[] = {{"a", "10"}, {"-5", "10-5"}, {"x1.2 3", "10123"}};
    auto* box = Find<QLineEdit>("编辑框2");
    for (const Typed& c : cases) {
        SCOPED_TRACE(c.keys);
        box->setText("10");
        Focus(box);
        box->end(false);
        QTest::keyClicks(box, c.keys);
        EXPECT_EQ(box->text(), QString::fromUtf8(c.expected));
    }
}

TEST_F(IntegerBoxes, TypingIntoAnEmptyBoxGivesMinusFive) {
    auto* box = Find<QLineEdit>("编辑框5");
    box->clear();
    Focus(box);
    QTest::keyClicks(box, "-5");
    EXPECT_EQ(box->text(), "-5");
}

TEST_F(IntegerBoxes, BackspaceAndPastePass) {
    auto* box = Find<QLineEdit>("编辑框6");
    Focus(box);
    box->end(false);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), "1");

    QGuiApplication::clipboard()->setText("ab7");
    if (QGuiApplication::clipboard()->text() != "ab7") {
        GTEST_SKIP() << "this platform has no clipboard";
    }
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), "1ab7");
}

TEST_F(IntegerBoxes, LeavingTheBoxNormalisesItsText) {
    auto* box = Find<QLineEdit>("编辑框5");
    auto* other = Find<QLineEdit>("编辑框4");
    for (const char* text : {"007", "0", "abc", "99999999999"}) {
        SCOPED_TRACE(text);
        box->setText(text);
        Focus(box);
        Focus(other);
        EXPECT_EQ(box->text(), NormalisedIntegerText(QString::fromUtf8(text)));
    }
}

TEST_F(IntegerBoxes, CaretGoesToTheStartOfTheFormerSelection) {
    auto* box = Find<QLineEdit>("编辑框2");
    box->setText("0071");
    Focus(box);
    box->setSelection(2, 2);  // "71"
    Focus(Find<QLineEdit>("编辑框4"));
    EXPECT_EQ(box->text(), "71");
    EXPECT_EQ(box->cursorPosition(), 2);

    box->setText("0x");
    Focus(box);
    box->setCursorPosition(1);
    Focus(Find<QLineEdit>("编辑框4"));
    EXPECT_EQ(box->text(), "");
    EXPECT_EQ(box->cursorPosition(), 0);
}

TEST_F(IntegerBoxes, ANormalTextIsNotReplaced) {
    auto* box = Find<QLineEdit>("编辑框2");
    box->setText("123");
    Focus(box);
    box->setCursorPosition(1);
    int edits = 0;
    QObject::connect(box, &QLineEdit::textChanged, [&] { ++edits; });
    Focus(Find<QLineEdit>("编辑框4"));
    EXPECT_EQ(edits, 0);
    EXPECT_EQ(box->cursorPosition(), 1);
}

}  // namespace
