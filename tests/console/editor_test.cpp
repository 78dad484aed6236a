#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "console/melody_editor.h"
#include "console/melody_keyboard.h"
#include "console/network_operators.h"
#include "console/picture_editor.h"
#include "platform/sys/exception.h"
#include "tests/console/window_test_support.h"

namespace {

template <class T>
T* Child(QWidget& parent, const char* name)
{
    T* child = parent.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

class PictureEditorTest : public ::testing::Test {
protected:
    PictureEditorTest()
    {
        editor.resize(420, 260);
        editor.show();
    }

    // Types a number into an edit and leaves it with Enter, as a user would.
    void Type(const char* editName, const char* text)
    {
        auto* edit = Child<QLineEdit>(editor, editName);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    void Size(const char* width, const char* height, const char* animations)
    {
        Type("PictureWidth", width);
        Type("PictureHeight", height);
        Type("PictureNumAnimations", animations);
    }

    QWidget* Picture() { return Child<QWidget>(editor, "Picture"); }
    QColor Pixel(int x, int y) { return Picture()->grab().toImage().pixelColor(x, y); }

    TPictureEditor editor;
};

TEST_F(PictureEditorTest, PaintAreaIsFiveScreenPixelsPerCellOfEveryFrame)
{
    struct Case {
        const char* width;
        const char* height;
        const char* animations;
        int kind;
        QSize area;
    };
    const Case cases[] = {
        {"72", "14", "1", 0, {360, 70}},   // a picture message
        {"", "", "", 0, {0, 0}},           // nothing entered yet
        {"8", "4", "2", 0, {80, 20}},      // two frames side by side
        {"8", "4", "1", 1, {80, 20}},      // a smart message adds a frame
        {"8", "4", "1", 2, {40, 20}},
    };
    for (const Case& c : cases) {
        editor.SetSMSKind(c.kind);
        Size(c.width, c.height, c.animations);
        EXPECT_EQ(Picture()->size(), c.area) << c.width << "x" << c.height << " frames " << c.animations;
    }
}

TEST_F(PictureEditorTest, ClickTogglesTheCellUnderTheMouse)
{
    Size("72", "14", "1");
    QTest::mouseClick(Picture(), Qt::LeftButton, {}, QPoint(7, 3));
    EXPECT_TRUE(editor.CellOn(1, 0));
    EXPECT_EQ(Pixel(7, 3), QColor(Qt::black));
    EXPECT_EQ(Pixel(5, 0), QColor(Qt::white)) << "grid line";
    EXPECT_FALSE(editor.CellOn(0, 0));

    QTest::mouseClick(Picture(), Qt::RightButton, {}, QPoint(9, 4));
    EXPECT_FALSE(editor.CellOn(1, 0));
    EXPECT_EQ(Pixel(7, 3), QColor(0, 255, 128));
}

TEST_F(PictureEditorTest, FramesAlternateColoursAndTheBitmapHoldsThemAll)
{
    Size("8", "4", "2");
    EXPECT_EQ(editor.PictureBitmap().width(), 16);
    EXPECT_EQ(editor.PictureBitmap().height(), 4);
    EXPECT_EQ(Pixel(2, 2), QColor(0, 255, 128));
    EXPECT_EQ(Pixel(42, 2), QColor(128, 255, 255));
    EXPECT_EQ(Pixel(40, 2), QColor(Qt::white)) << "grid line at the frame border";
    QTest::mouseClick(Picture(), Qt::LeftButton, {}, QPoint(42, 2));
    EXPECT_TRUE(editor.CellOn(8, 0)) << "first cell of the second frame";
    SaveScreenshot(editor, "editor_picture");
}

TEST_F(PictureEditorTest, BitmapNeverShrinksSoCellsComeBack)
{
    Size("8", "4", "1");
    QTest::mouseClick(Picture(), Qt::LeftButton, {}, QPoint(37, 17));
    ASSERT_TRUE(editor.CellOn(7, 3));
    Size("2", "2", "1");
    EXPECT_EQ(Picture()->size(), QSize(10, 10));
    EXPECT_EQ(editor.PictureBitmap().size(), QSize(8, 4));
    Size("8", "4", "1");
    EXPECT_TRUE(editor.CellOn(7, 3));
}

TEST_F(PictureEditorTest, SavedBitmapLoadsBackCellForCell)
{
    Size("8", "4", "1");
    for (QPoint at : {QPoint(2, 2), QPoint(37, 17), QPoint(12, 7)})
        QTest::mouseClick(Picture(), Qt::LeftButton, {}, at);
    QTemporaryDir dir;
    const QString file = dir.filePath("picture.bmp");
    editor.SavePicture(file);

    TPictureEditor loaded;
    loaded.LoadPicture(file);
    ASSERT_EQ(loaded.PictureBitmap().size(), QSize(8, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(loaded.CellOn(x, y), editor.CellOn(x, y)) << x << "," << y;
}

TEST_F(PictureEditorTest, UnreadableBitmapIsRefusedWithItsName)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("none.bmp");
    try {
        editor.LoadPicture(file);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot load the bitmap " + file.toStdString());
    }
}

TEST(NetworkOperators, ListRunsInCodeOrderFromPanafonToIcms)
{
    ASSERT_EQ(std::size(kNetworkOperators), 235u);
    for (size_t i = 1; i < std::size(kNetworkOperators); ++i)
        EXPECT_LT(kNetworkOperators[i - 1].code, kNetworkOperators[i].code) << i;
    EXPECT_EQ(NetworkOperatorItem(kNetworkOperators[0]), "20205,\"PANAFON\"");
    EXPECT_EQ(NetworkOperatorItem(kNetworkOperators[234]), "74601,\"ICMS\"");
    TPictureEditor editor;
    auto* list = Child<QComboBox>(editor, "PictureOperator");
    EXPECT_EQ(list->count(), 235);
    EXPECT_EQ(list->findText("26201,\"D1\""), 75);
    EXPECT_EQ(list->findText("46000,\"CHINA MOBILE\""), 155);
}

class MelodyEditorTest : public ::testing::Test {
protected:
    MelodyEditorTest()
    {
        editor.resize(540, 330);
        editor.show();
        grid = Child<QTableWidget>(editor, "MelodyGrid");
        keyboard = editor.Keyboard();
        keyboard->SetTickSource([this] { return now; });
    }

    void Click(const char* button) { QTest::mouseClick(Child<QPushButton>(editor, button), Qt::LeftButton); }
    void Choose(TMelodyColumn column, int index) { editor.MelodyColumn(column)->setCurrentIndex(index); }
    QString Cell(int row, TMelodyColumn column)
    {
        const QTableWidgetItem* item = grid->item(row, column);
        return item ? item->text() : QString();
    }
    // Holds the key at a point of the keyboard for a while.
    void Play(QPoint at, uint32_t heldMs)
    {
        QTest::mousePress(keyboard, Qt::LeftButton, {}, at);
        now += heldMs;
        QTest::mouseRelease(keyboard, Qt::LeftButton, {}, at);
    }

    TMelodyEditor editor;
    QTableWidget* grid;
    TMelodyKeyboard* keyboard;
    uint32_t now = 1000;
};

TEST_F(MelodyEditorTest, PlusAppendsOnTheEmptyRowAndMinusThereDoesNothing)
{
    ASSERT_EQ(grid->rowCount(), 1) << "only the empty row";
    Choose(mcNote, 3);
    Click("Button5");
    Choose(mcNote, 5);
    Click("Button5");
    EXPECT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(Cell(0, mcNote), "D");
    EXPECT_EQ(Cell(1, mcNote), "E");
    EXPECT_EQ(Cell(2, mcNote), "") << "the last row stays empty";
    EXPECT_EQ(grid->currentRow(), 2);

    Click("Button6");
    EXPECT_EQ(grid->rowCount(), 3) << "minus on the empty row";

    grid->setCurrentCell(0, 0);
    Click("Button6");
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(Cell(0, mcNote), "E");
    Click("Button6");
    EXPECT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->currentRow(), 0);
}

TEST_F(MelodyEditorTest, PlusOverwritesANoteRowUnlessInsertIsChecked)
{
    Choose(mcNote, 1);
    Click("Button5");
    Choose(mcNote, 8);
    Click("Button5");
    grid->setCurrentCell(0, 0);
    Choose(mcNote, 10);
    Click("Button5");
    EXPECT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(Cell(0, mcNote), "A") << "overwritten";
    EXPECT_EQ(grid->currentRow(), 1);

    Child<QCheckBox>(editor, "MelodyInsert")->setChecked(true);
    Choose(mcNote, 0);
    Click("Button5");
    EXPECT_EQ(grid->rowCount(), 4);
    EXPECT_EQ(Cell(0, mcNote), "A");
    EXPECT_EQ(Cell(1, mcNote), "pause") << "inserted";
    EXPECT_EQ(Cell(2, mcNote), "G");
    EXPECT_EQ(grid->currentRow(), 2);
}

TEST_F(MelodyEditorTest, DoubleClickLoadsTheRowIntoTheCombos)
{
    Choose(mcScale, 2);
    Choose(mcNote, 4);
    Choose(mcDuration2, 3);
    Choose(mcVolume, 15);
    Click("Button5");
    for (TMelodyColumn c : {mcScale, mcNote, mcDuration2, mcVolume})
        Choose(c, 0);
    const QRect cell = grid->visualItemRect(grid->item(0, mcNote));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(editor.MelodyColumn(mcScale)->currentText(), "3");
    EXPECT_EQ(editor.MelodyColumn(mcNote)->currentText(), "Dis");
    EXPECT_EQ(editor.MelodyColumn(mcDuration2)->currentText(), "2/3 length");
    EXPECT_EQ(editor.MelodyColumn(mcVolume)->currentText(), "15");
}

TEST_F(MelodyEditorTest, KeyboardGeometryPutsBlackKeysAcrossWhiteBorders)
{
    keyboard->setFixedSize(280, 56);   // 28 white keys of 10 pixels
    EXPECT_EQ(keyboard->KeyRect(0, 1), QRect(0, 0, 10, 56)) << "C";
    EXPECT_EQ(keyboard->KeyRect(0, 2), QRect(7, 0, 6, 28)) << "Cis";
    EXPECT_EQ(keyboard->KeyRect(0, 12), QRect(60, 0, 10, 56)) << "H";
    EXPECT_EQ(keyboard->KeyRect(1, 1), QRect(70, 0, 10, 56)) << "C of the second octave";
    EXPECT_EQ(keyboard->KeyRect(3, 11), QRect(267, 0, 6, 28)) << "Ais of the last octave";
}

TEST_F(MelodyEditorTest, HoldTimeOfAKeyPicksTheDuration)
{
    keyboard->setFixedSize(280, 56);
    struct Case {
        uint32_t heldMs;
        const char* duration;
    };
    const Case cases[] = {{30, "1/32"}, {120, "1/8"}, {299, "1/4"}, {499, "1/2"}, {600, "Full"}};
    int row = 0;
    for (const Case& c : cases) {
        Play(QPoint(75, 50), c.heldMs);   // C of the second octave, below the black keys
        EXPECT_EQ(Cell(row, mcDuration), c.duration) << c.heldMs << " ms";
        EXPECT_EQ(Cell(row, mcScale), "2");
        EXPECT_EQ(Cell(row, mcNote), "C");
        ++row;
    }
    EXPECT_EQ(grid->rowCount(), row + 1);
}

TEST_F(MelodyEditorTest, BlackKeyWinsWhereItCoversAWhiteOne)
{
    keyboard->setFixedSize(280, 56);
    QTest::mousePress(keyboard, Qt::LeftButton, {}, QPoint(11, 5));
    EXPECT_EQ(keyboard->PressedKey(), 2) << "Cis, octave 0";
    SaveScreenshot(editor, "editor_melody_key_held");
    now += 120;
    QTest::mouseRelease(keyboard, Qt::LeftButton, {}, QPoint(11, 5));
    EXPECT_EQ(keyboard->PressedKey(), 0);
    EXPECT_EQ(Cell(0, mcNote), "Cis");

    Play(QPoint(279, 50), 120);
    EXPECT_EQ(Cell(1, mcNote), "H") << "the last pixel of the last octave";
    // A width that 28 keys do not divide leaves a strip with no key: a press there adds nothing.
    keyboard->setFixedSize(285, 56);
    Play(QPoint(282, 50), 120);
    EXPECT_EQ(grid->rowCount(), 3);
}

TEST_F(MelodyEditorTest, EmsMelodyHasOneTempoAndStyle)
{
    editor.SetSMSKind(2);
    Choose(mcTempo, 0);
    Click("Button5");
    Choose(mcTempo, 5);
    Choose(mcStyle, 2);
    Click("Button5");
    Choose(mcTempo, 18);   // 200
    Choose(mcStyle, 1);
    Click("Button5");
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(Cell(row, mcTempo), "200") << row;
        EXPECT_EQ(Cell(row, mcStyle), "Continuous") << row;
    }
    EXPECT_EQ(Cell(3, mcTempo), "") << "the empty row stays empty";

    editor.SetSMSKind(1);   // other kinds keep a tempo per note
    Choose(mcTempo, 3);
    Click("Button5");
    EXPECT_EQ(Cell(0, mcTempo), "200");
    EXPECT_EQ(Cell(3, mcTempo), "35");
    SaveScreenshot(editor, "editor_melody");
}

}  // namespace
