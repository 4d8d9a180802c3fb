// SPDX-License-Identifier: GPL-3.0-or-later
#include "MapPreview.h"
#include "EditorDriver.h"
#include "Forms.h"
#include "Game_Screen.h"
#include "MessageLog.h"
#include "Pictures.h"
#include "ScratchDir.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QHelpEvent>
#include <QMimeData>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolTip>

using namespace EditorDriver;

namespace {

// Sixteen rows of sixteen codes, every palette tile among them.
QStringList fullMap()
{
    const QStringList codes{"0", "1", "2", "3", "4", "5", "6", "7", "80", "81", "82", "83", "84", "85", "86", "87", "88", "90"};
    QStringList rows(16);
    for (int cell = 0; cell < 256; ++cell)
        rows[cell / 16] += codes.at(cell % codes.size());
    return rows;
}

void setMap(MapEditor *editor, const QString &text, int caret, int anchor = -1)
{
    editor->Text1->setPlainText(text);
    QTextCursor cursor = editor->Text1->textCursor();
    cursor.setPosition(anchor < 0 ? caret : anchor);
    cursor.setPosition(caret, QTextCursor::KeepAnchor);
    editor->Text1->setTextCursor(cursor);
}

} // namespace

// The level editor: typing and the palette, the check and the preview, the
// settings, saving, loading and closing.
class TestMapEditor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void paletteReplacesSelectionThenGoesToEnd_data();
    void paletteReplacesSelectionThenGoesToEnd();
    void plusAndSpaceKeys_data();
    void plusAndSpaceKeys();
    void tabLeavesTheMap_data();
    void tabLeavesTheMap();
    void keyboardReachesPaletteSpinnersAndBars();
    void paletteNamesItsTiles_data();
    void paletteNamesItsTiles();
    void floorTileIsAFramedCell();
    void screenReaderNamesEachControl_data();
    void screenReaderNamesEachControl();
    void pasteIsTypedOrIgnored_data();
    void pasteIsTypedOrIgnored();
    void checkReportsRowsAndDrawsCodes_data();
    void checkReportsRowsAndDrawsCodes();
    void fullMapIsPaintedWithPalettePictures();
    void colourBarColoursSwatchAndPreviewWhileDragged();
    void colourBarDragSweepsTheRangeShowingTheValue();
    void colourBarsKeepClearOfEachOther();
    void spinnersStopAtTheirEnds_data();
    void spinnersStopAtTheirEnds();
    void freshEditorSavesDefaultsAndRows();
    void replaceAnswerDecidesOverwrite_data();
    void replaceAnswerDecidesOverwrite();
    void refusedSaveWritesNothing_data();
    void refusedSaveWritesNothing();
    void savedStartCellLoadsBack();
    void loadFillSkipsFailingSteps_data();
    void loadFillSkipsFailingSteps();
    void closingAsksAndNoKeepsEditorOpen();
    void strokeRewritesTheCellsItPasses_data();
    void strokeRewritesTheCellsItPasses();
    void doubleClickPutsTheStartThere();
    void verdictHasAFrameColourOfItsOwn_data();
    void verdictHasAFrameColourOfItsOwn();
    void f6TellsWhetherTheLevelCanBeWon_data();
    void f6TellsWhetherTheLevelCanBeWon();
    void f5TestPlayReturnsToTheEditorAsItWas_data();
    void f5TestPlayReturnsToTheEditorAsItWas();
    void f5RefusesWhatTheGameRefuses_data();
    void f5RefusesWhatTheGameRefuses();

private:
    MapEditor *open();

    std::unique_ptr<ScratchDir> m_dir;
    std::unique_ptr<MessageLog> m_log;
    std::unique_ptr<Forms> m_forms;
};

void TestMapEditor::init()
{
    m_dir = std::make_unique<ScratchDir>();
    m_log = std::make_unique<MessageLog>();
    m_forms = std::make_unique<Forms>();
}

void TestMapEditor::cleanup()
{
    m_forms.reset();
    m_log.reset();
    m_dir.reset();
}

MapEditor *TestMapEditor::open()
{
    m_forms->show(FormId::MapEditor);
    return m_forms->get<MapEditor>();
}

void TestMapEditor::paletteReplacesSelectionThenGoesToEnd_data()
{
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("map");
    QTest::newRow("caret after 2nd") << -1 << 85 << "118511\n22";
    QTest::newRow("selection") << 1 << 0 << "10\n22";
}

void TestMapEditor::paletteReplacesSelectionThenGoesToEnd()
{
    QFETCH(int, anchor);
    QFETCH(int, code);
    MapEditor *editor = open();
    setMap(editor, "1111\n22", anchor < 0 ? 2 : 4, anchor);
    clickTile(editor, code);
    QTEST(editor->Text1->toPlainText(), "map");
    QCOMPARE(editor->Text1->textCursor().position(), editor->Text1->toPlainText().size());
    QCOMPARE(editor->List2->item(0)->text(), QString("Line1: %1 tiles").arg(anchor < 0 ? 5 : 2));
}

void TestMapEditor::plusAndSpaceKeys_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<int>("caret");
    QTest::addColumn<char>("key");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("caretAfter");
    QTest::newRow("+ at start") << "123" << 0 << '+' << "12" << 0;
    QTest::newRow("+ at end") << "123" << 3 << '+' << "12" << 2;
    QTest::newRow("+ in first row") << "12\n34" << 1 << '+' << "12\n3" << 1;
    QTest::newRow("+ takes line break") << "12\n" << 3 << '+' << "12" << 2;
    QTest::newRow("+ on empty") << "" << 0 << '+' << "" << 0;
    QTest::newRow("space") << "11" << 1 << ' ' << "101" << 2;
}

void TestMapEditor::plusAndSpaceKeys()
{
    QFETCH(char, key);
    MapEditor *editor = open();
    QFETCH(QString, map);
    QFETCH(int, caret);
    setMap(editor, map, caret);
    QTest::keyClick(editor->Text1, key);
    QTEST(editor->Text1->toPlainText(), "after");
    QTEST(editor->Text1->textCursor().position(), "caretAfter");
}

void TestMapEditor::tabLeavesTheMap_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("reached");
    QTest::newRow("Tab") << int(Qt::Key_Tab) << "line report";
    QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << "Exit";
}

void TestMapEditor::tabLeavesTheMap()
{
    QFETCH(int, key);
    QFETCH(QString, reached);
    MapEditor *editor = open();
    setMap(editor, "11\n22", 2);
    editor->Text1->setFocus();
    QTest::keyClick(editor->Text1, Qt::Key(key), key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(editor->Text1->toPlainText(), QStringLiteral("11\n22"));
    const QHash<QString, QWidget *> controls{{"line report", editor->List2}, {"Exit", editor->Command2}};
    QCOMPARE(editor->focusWidget(), controls.value(reached));
}

void TestMapEditor::keyboardReachesPaletteSpinnersAndBars()
{
    MapEditor *editor = open();
    QVERIFY(QTest::qWaitForWindowActive(editor));
    editor->Text1->setPlainText("1");
    editor->Text1->setFocus();
    QTest::keyClick(editor->Text1, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), editor->Picture1);
    // Two right and one down from the floor: the floppy disk below the palm
    // tree; Space inserts it at the caret and the palette keeps the keys.
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Space})
        QTest::keyClick(editor->Picture1, key);
    QCOMPARE(editor->Text1->toPlainText(), QStringLiteral("831"));
    QCOMPARE(QApplication::focusWidget(), editor->Picture1);

    QList<QWidget *> reached;
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached.append(QApplication::focusWidget());
    }
    for (QWidget *control : {static_cast<QWidget *>(editor->VScroll1), static_cast<QWidget *>(editor->VScroll2),
                             static_cast<QWidget *>(editor->VScroll3), static_cast<QWidget *>(editor->HScroll1[0]),
                             static_cast<QWidget *>(editor->HScroll1[2])})
        QVERIFY(reached.contains(control));
}

void TestMapEditor::paletteNamesItsTiles_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("tip");
    QTest::newRow("floor") << 0 << "Floor: 0";
    QTest::newRow("banknote") << 3 << "Banknote: 3";
    QTest::newRow("diamond") << 7 << "Diamond: 7";
    QTest::newRow("clock") << 84 << "Clock: 84";
    QTest::newRow("last tile") << 90 << "Blue and red square: 90";
}

void TestMapEditor::paletteNamesItsTiles()
{
    QFETCH(int, code);
    MapEditor *editor = open();
    const QPoint at = editor->Picture1->tileRect(code).center();
    QHelpEvent help(QEvent::ToolTip, at, editor->Picture1->mapToGlobal(at));
    QApplication::sendEvent(editor->Picture1, &help);
    QTEST(QToolTip::text().section(u'\n', 0, 0), "tip");
    QVERIFY(QToolTip::text().endsWith("right-click: paint with it"));
    QToolTip::hideText();

    // A screen reader finds the tile by the same name and presses it.
    QAccessibleInterface *palette = QAccessible::queryAccessibleInterface(editor->Picture1);
    QAccessibleInterface *tile = palette->childAt(help.globalPos().x(), help.globalPos().y());
    QTEST(tile->text(QAccessible::Name), "tip");
    QCOMPARE(palette->child(palette->indexOfChild(tile)), tile);
    tile->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(editor->Text1->toPlainText(), QString::number(code));
}

void TestMapEditor::floorTileIsAFramedCell()
{
    MapEditor *editor = open();
    const QImage palette = editor->Picture1->grab().toImage();
    const QRect floor = editor->Picture1->tileRect(0);
    // Beside the last tile of the top row the palette shows its background.
    const QColor background = palette.pixelColor(editor->Picture1->tileRect(80).topRight() + QPoint(3, 3));
    const QColor inside = palette.pixelColor(floor.center());
    const QColor frame = palette.pixelColor(floor.left() + 1, floor.center().y());
    QVERIFY(inside != background);
    QVERIFY(frame != inside);
    QVERIFY(frame != background);
}

void TestMapEditor::screenReaderNamesEachControl_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    for (const char *name : {"Top start", "Left start", "Red", "Green", "Blue", "Map rows", "Line report",
                             "Tile palette"})
        QTest::newRow(name) << QString(name) << QString(name);
    QTest::newRow("hidden Check button") << "Check" << "Check";
}

void TestMapEditor::screenReaderNamesEachControl()
{
    QFETCH(QString, control);
    MapEditor *editor = open();
    const QHash<QString, QWidget *> controls{
        {"Top start", editor->Text2},     {"Left start", editor->Text3},      {"Red", editor->HScroll1[0]},
        {"Green", editor->HScroll1[1]},   {"Blue", editor->HScroll1[2]},      {"Map rows", editor->Text1},
        {"Line report", editor->List2},   {"Tile palette", editor->Picture1}, {"Check", editor->Command1}};
    QAccessibleInterface *widget = QAccessible::queryAccessibleInterface(controls.value(control));
    QTEST(widget->text(QAccessible::Name), "name");
    // Only what the designer sees: the map box alone presses the check's button.
    QAccessibleInterface *parent = QAccessible::queryAccessibleInterface(controls.value(control)->parentWidget());
    QCOMPARE(parent->indexOfChild(widget) >= 0, control != u"Check");
}

void TestMapEditor::pasteIsTypedOrIgnored_data()
{
    QTest::addColumn<QString>("format"); // nothing on the clipboard when empty
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("after");
    const QKeySequence ctrlV(Qt::CTRL | Qt::Key_V);
    const QKeySequence shiftInsert(Qt::SHIFT | Qt::Key_Insert);
    QTest::newRow("empty, Ctrl+V") << "" << QByteArray() << ctrlV << "11";
    QTest::newRow("empty, Shift+Insert") << "" << QByteArray() << shiftInsert << "11";
    QTest::newRow("picture only") << "image/png" << QByteArray("\x89PNG") << ctrlV << "11";
    QTest::newRow("codes") << "text/plain" << QByteArray("23") << shiftInsert << "1123";
    QTest::newRow("space and plus as keys") << "text/plain" << QByteArray("2 3+4") << ctrlV << "11204";
    QTest::newRow("other line ends") << "text/plain" << QByteArray("2\r\n3\r4\n") << ctrlV << "112\n3\n4\n";
    QTest::newRow("tab dropped") << "text/plain" << QByteArray("2\t3") << ctrlV << "1123";
    QTest::newRow("plus eats the paste, then the map") << "text/plain" << QByteArray("2+++3") << ctrlV << "3";
    QTest::newRow("10,000 digits") << "text/plain" << QByteArray(10000, '3') << ctrlV << "11" + QString(10000, u'3');
    // More than the map box holds is refused whole.
    QTest::newRow("too long") << "text/plain" << QByteArray(16385, '3') << ctrlV << "11";
    // A CR LF becomes one line break, and is counted as one.
    QTest::newRow("CR LF rows that fit") << "text/plain" << QByteArray("3\r\n").repeated(6000) << ctrlV
                                         << "113\n" + QString("3\n").repeated(5999);
}

void TestMapEditor::pasteIsTypedOrIgnored()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, data);
    QFETCH(QKeySequence, keys);
    auto *clipboard = new QMimeData;
    if (!format.isEmpty())
        clipboard->setData(format, data);
    QGuiApplication::clipboard()->setMimeData(clipboard);
    MapEditor *editor = open();
    setMap(editor, "11", 2);
    QSignalSpy checks(editor->Command1, &QPushButton::clicked);
    QTest::keySequence(editor->Text1, keys);
    QFETCH(QString, after);
    QCOMPARE(editor->Text1->toPlainText(), after);
    // The check ran once on the pasted text as on typed text, and one undo
    // takes the whole paste back.
    QCOMPARE(checks.size(), after == u"11" ? 0 : 1);
    // Text that leaves the map as it was is refused, and that is said.
    QCOMPARE(m_log->shown.size(), format == u"text/plain" && after == u"11" ? 1 : 0);
    const qsizetype tiles = after.section(u'\n', 0, 0).size();
    QVERIFY(editor->List2->item(0)->text().startsWith(QString("Line1: %1 tile").arg(tiles)));
    QTest::keySequence(editor->Text1, QKeySequence::Undo);
    QCOMPARE(editor->Text1->toPlainText(), QStringLiteral("11"));
}

void TestMapEditor::checkReportsRowsAndDrawsCodes_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<QStringList>("report");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("1111") << "1111" << QStringList{"Line1: 4 tiles"} << QStringList{"1", "1", "1", "1"};
    QTest::newRow("858585") << "858585" << QStringList{"Line1: 3 tiles"} << QStringList{"85", "85", "85"};
    QTest::newRow("one break at end") << "12\n3\n" << QStringList{"Line1: 2 tiles", "Line2: 1 tile"}
                                      << QStringList{"1", "2", "3"};
    QTest::newRow("two breaks at end") << "12\n\n" << QStringList{"Line1: 2 tiles", "Line2: 0 tiles"}
                                       << QStringList{"1", "2"};
    QTest::newRow("lone 8") << "18" << QStringList{"Line1: 2 tiles"} << QStringList{"1", "8"};
    // Sixteen tiles fill a row of the board, a clock among them; the
    // seventeenth and a seventeenth row lie past it.
    QTest::newRow("a clock is one tile") << "84" + QString(15, u'1') << QStringList{"Line1: 16 tiles"}
                                         << QStringList{"84"} + QStringList(15, "1");
    QTest::newRow("past the 16th column") << QString(17, u'1') << QStringList{"Line1: 17 tiles - past the board"}
                                          << QStringList(17, "1");
    QTest::newRow("past the 16th row") << QString(16, u'\n') + "3"
                                       << QStringList(16, "Line%1: 0 tiles") + QStringList{"Line17: 1 tile - past the board"}
                                       << QStringList{"3"};
    QTest::newRow("empty") << "" << QStringList{} << QStringList{};
}

void TestMapEditor::checkReportsRowsAndDrawsCodes()
{
    QFETCH(QString, map);
    QFETCH(QStringList, codes);
    MapEditor *editor = open();
    // Typed first, so that each row must replace what an earlier check drew.
    QTest::keyClicks(editor->Text1, "7777777");
    editor->Text1->setPlainText(map);
    QStringList shown;
    for (int i = 0; i < editor->List2->count(); ++i) {
        const QListWidgetItem *line = editor->List2->item(i);
        shown.append(line->text());
        // The tooltip says why a line is marked, and only then.
        QCOMPARE(line->toolTip().contains("the explorer walks there"), line->text().endsWith("past the board"));
    }
    QFETCH(QStringList, report);
    for (int i = 0; i < report.size(); ++i)
        report[i] = report.at(i).arg(i + 1);
    QCOMPARE(shown, report);

    QStringList drawn;
    const std::vector<ImageElement> &cells = editor->Image1();
    for (std::size_t i = 0; i + 1 < cells.size(); ++i) {
        QVERIFY(cells[i].visible);
        QCOMPARE(cells[i].picture.cacheKey(), Pictures::tile(cells[i].tag).cacheKey());
        drawn.append(cells[i].tag);
    }
    QCOMPARE(drawn, codes);
    QVERIFY(!cells.back().visible);
}

void TestMapEditor::fullMapIsPaintedWithPalettePictures()
{
    MapEditor *editor = open();
    editor->Text1->setPlainText(fullMap().join('\n'));
    QCOMPARE(editor->List2->count(), 16);
    QCOMPARE(editor->Image1().size(), std::size_t(257));
    // Row 3, column 5 is code number 53: 53 % 18 = 17, tile 90.
    const ImageElement &cell = editor->Image1().at(3 * 16 + 5);
    QCOMPARE(cell.tag, QStringLiteral("90"));
    QCOMPARE(QPoint(cell.left, cell.top), QPoint(5 * 480, 3 * 480));

    QImage expected(32, 32, QImage::Format_RGB32);
    expected.fill(editor->previewColor());
    QPainter(&expected).drawPixmap(0, 0, Pictures::tile("90"));
    const QImage shown = editor->Picture2->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint at = editor->Picture2->contentsRect().topLeft() + QPoint(5 * 32, 3 * 32);
    QCOMPARE(shown.copy(QRect(at, QSize(32, 32))), expected);
}

void TestMapEditor::colourBarColoursSwatchAndPreviewWhileDragged()
{
    MapEditor *editor = open();
    QCOMPARE(editor->swatchColor(), 12632256u);
    editor->HScroll1[1]->setValue(0);
    editor->HScroll1[2]->setValue(0);
    editor->HScroll1[0]->setSliderDown(true);
    editor->HScroll1[0]->setSliderPosition(255);
    QCOMPARE(editor->swatchColor(), 255u);
    QCOMPARE(editor->Picture3->palette().color(QPalette::Window), QColor(Qt::red));
    QCOMPARE(editor->previewColor(), QColor(Qt::red));
}

void TestMapEditor::colourBarDragSweepsTheRangeShowingTheValue()
{
    MapEditor *editor = open();
    QScrollBar *red = editor->HScroll1[0];
    red->setValue(0);
    QStyleOptionSlider option;
    option.initFrom(red);
    option.orientation = Qt::Horizontal;
    option.maximum = red->maximum();
    option.pageStep = red->pageStep();
    const auto part = [&](QStyle::SubControl control) {
        return red->style()->subControlRect(QStyle::CC_ScrollBar, &option, control, red);
    };
    const QRect thumb = part(QStyle::SC_ScrollBarSlider);
    const QRect groove = part(QStyle::SC_ScrollBarGroove);
    // The thumb leaves most of the track to travel in, so its place shows
    // the value.
    QVERIFY2(thumb.width() * 4 <= groove.width(), qPrintable(QString::number(thumb.width())));

    const int y = thumb.center().y();
    QTest::mousePress(red, Qt::LeftButton, {}, thumb.center());
    QCOMPARE(QToolTip::text(), QStringLiteral("0"));
    // A few pixels make a small change, not a jump to the end...
    QTest::mouseMove(red, QPoint(thumb.center().x() + 3, y));
    QVERIFY2(red->value() > 0 && red->value() < 40, qPrintable(QString::number(red->value())));
    QCOMPARE(QToolTip::text(), QString::number(red->value()));
    // ...half the travel makes about half the range...
    const int travel = groove.width() - thumb.width();
    QTest::mouseMove(red, QPoint(thumb.center().x() + travel / 2, y));
    QVERIFY2(qAbs(red->value() - 128) < 16, qPrintable(QString::number(red->value())));
    QCOMPARE(QToolTip::text(), QString::number(red->value()));
    QCOMPARE(editor->swatchColor(), quint32(red->value()) + 192 * 256 + 192 * 65536);
    // ...and the whole travel the whole range.
    QTest::mouseMove(red, QPoint(thumb.center().x() + travel, y));
    QCOMPARE(red->value(), 255);
    QTest::mouseRelease(red, Qt::LeftButton, {}, QPoint(thumb.center().x() + travel, y));
    QTRY_VERIFY(!QToolTip::isVisible());
    QCOMPARE(red->value(), 255);
}

void TestMapEditor::colourBarsKeepClearOfEachOther()
{
    const MapEditor *editor = open();
    for (std::size_t i = 0; i + 1 < editor->HScroll1.size(); ++i)
        QVERIFY(!editor->HScroll1[i]->geometry().intersects(editor->HScroll1[i + 1]->geometry()));
}

void TestMapEditor::spinnersStopAtTheirEnds_data()
{
    QTest::addColumn<int>("spinner");
    QTest::addColumn<bool>("upper");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("shown");
    QTest::newRow("top start stops at 16") << 0 << true << 20 << "16";
    QTest::newRow("left start stops at 1") << 1 << false << 2 << "1";
    QTest::newRow("time stops at 10") << 2 << false << 30 << "10";
    QTest::newRow("time stops at 120") << 2 << true << 100 << "120";
}

void TestMapEditor::spinnersStopAtTheirEnds()
{
    QFETCH(int, spinner);
    QFETCH(bool, upper);
    QFETCH(int, clicks);
    MapEditor *editor = open();
    QScrollBar *bars[] = {editor->VScroll1, editor->VScroll2, editor->VScroll3};
    QLineEdit *boxes[] = {editor->Text2, editor->Text3, editor->Text5};
    for (int i = 0; i < clicks; ++i)
        clickArrow(bars[spinner], upper);
    QTEST(boxes[spinner]->text(), "shown");
    // A screen reader hears the number the box shows, not the bar's own.
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(bars[spinner]);
    QCOMPARE(bar->valueInterface()->currentValue().toString(), boxes[spinner]->text());
    QCOMPARE(bar->text(QAccessible::Value), boxes[spinner]->text());
}

void TestMapEditor::freshEditorSavesDefaultsAndRows()
{
    MapEditor *editor = open();
    // Judged and drawn on the level's floor before any edit.
    QCOMPARE(editor->previewColor(), QColor(192, 192, 192));
    QTRY_COMPARE(editor->Picture2->judgment(), MapPreview::Judgment::NotWinnable);
    const QStringList rows = fullMap();
    QTest::keyClicks(editor->Text1, rows.first());
    editor->Text1->appendPlainText(rows.mid(1).join('\n'));
    const QString target = "Save writes " + QDir::toNativeSeparators(m_dir->filePath("Level.lvl"));
    QCOMPARE(editor->saveTarget->accessibleName(), target);
    QTest::mouseClick(editor->Command3, Qt::LeftButton);
    QCOMPARE(m_log->shown, QStringList{"Veltrano: file saved successfully !"});
    QCOMPARE(editor->saveTarget->accessibleName(), target + ": exists, will be replaced");
    QTest::keyClick(editor->Text4, Qt::Key_2);
    QCOMPARE(editor->saveTarget->toolTip(), "Save writes " + QDir::toNativeSeparators(m_dir->filePath("Level2.lvl")));
    const QByteArray saved = m_dir->read("Level.lvl");
    QCOMPARE(saved, "0\r\n0\r\n12632256\r\n30\r\n" + rows.join("\r\n").toLatin1() + "\r\n");
    QCOMPARE(saved.count("\r\n"), 20);
}

void TestMapEditor::replaceAnswerDecidesOverwrite_data()
{
    QTest::addColumn<bool>("replace");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
}

void TestMapEditor::replaceAnswerDecidesOverwrite()
{
    QFETCH(bool, replace);
    const QByteArray old = QByteArray("old line\r\n").repeated(25);
    m_dir->write("Level.lvl", old);
    open()->Text1->setPlainText("11\n22");
    m_log->answers = {replace ? MessageBox::Answer::Yes : MessageBox::Answer::No};
    QTest::mouseClick(open()->Command3, Qt::LeftButton);
    QCOMPARE(m_log->shown.first(), QStringLiteral("Veltrano: File Already Exist, Replace ? [Yes/No]"));
    QCOMPARE(m_log->shown.size(), replace ? 2 : 1);
    QCOMPARE(m_dir->read("Level.lvl"), replace ? QByteArray("0\r\n0\r\n12632256\r\n30\r\n11\r\n22\r\n") : old);
}

void TestMapEditor::refusedSaveWritesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("map");
    const QString badName = "Error: There has been a error!";
    QTest::newRow("empty name") << "" << "1" << "Veltrano: No file name !" << "30" << "1041";
    for (const char *name : {"../Escape", "sub/Level", "sub\\Level", ".", "..", "C:Level", "Le*vel", "Lev?l",
                             "\"Level\"", "<Level>", "Le|vel", "Tab\tLevel"})
        QTest::newRow(name) << QString::fromLatin1(name) << "1" << badName << "30" << "1041";
    // A lone surrogate has no form in the file system's encoding.
    QTest::newRow("name the file system cannot hold") << "Level" + QString(QChar(0xD800)) << "1" << badName << "30"
                                                       << "1041";
    // A level file holds Latin-1 text only; a wide space still reads as 30.
    QTest::newRow("time beyond Latin-1") << "Level" << "1" << badName << QString("30") + QChar(0x3000) << "1041";
    // What the game would refuse to play is not saved either.
    QTest::newRow("time is a word") << "Level" << "1" << "Error: The time limit of this level is not a number."
                                    << "abc" << "1041";
    QTest::newRow("no map") << "Level" << "1" << "Error: This level has no map to play." << "30" << "";
    // What the game refuses is named before a character the file cannot hold.
    QTest::newRow("time a word beyond Latin-1") << "Level" << "1" << "Error: The time limit of this level is not a number."
                                                << "soon€" << "1041";
    QTest::newRow("map beyond Latin-1") << "Level" << "1" << badName << "30" << "1111漢";
    const QString badStart = "Veltrano: The start location must be a whole number from 1 to 16 !";
    for (const char *top : {"17", "0", "abc", "", "2.5"})
        QTest::newRow(qPrintable("top " + QString(top))) << "Level" << QString(top) << badStart << "30" << "1041";
}

void TestMapEditor::refusedSaveWritesNothing()
{
    QFETCH(QString, name);
    QFETCH(QString, top);
    // The program directory lies inside the scratch one, so that a level
    // written beside it is found as well as one written below it.
    QDir scratch(m_dir->path());
    QVERIFY(scratch.mkpath("game/sub"));
    ProgramDir::setPath(m_dir->filePath("game"));
    MapEditor *editor = open();
    editor->Text4->setText(name);
    editor->Text2->setText(top);
    QFETCH(QString, time);
    QFETCH(QString, map);
    editor->Text5->setText(time);
    editor->Text1->setPlainText(map);
    QTest::mouseClick(editor->Command3, Qt::LeftButton);
    QFETCH(QString, message);
    QCOMPARE(m_log->shown, QStringList{message});
    for (const char *folder : {"", "game", "game/sub"})
        QCOMPARE(QDir(scratch.filePath(folder)).entryList(QDir::Files | QDir::Hidden), QStringList{});
}

void TestMapEditor::savedStartCellLoadsBack()
{
    MapEditor *editor = open();
    for (int i = 0; i < 4; ++i)
        clickArrow(editor->VScroll2, true);
    for (int i = 0; i < 8; ++i)
        clickArrow(editor->VScroll1, true);
    editor->Text1->setPlainText("1111\n1041");
    QTest::mouseClick(editor->Command3, Qt::LeftButton);
    QCOMPARE(m_dir->read("Level.lvl"), QByteArray("1920\r\n3840\r\n12632256\r\n30\r\n1111\r\n1041\r\n"));

    // A fresh editor, so that 5 and 9 can only come from the file.
    QVERIFY(m_forms->unload(FormId::MapEditor));
    editor = open();
    QTest::mouseClick(editor->Command4, Qt::LeftButton);
    QVERIFY(choose(m_forms->get<Load_Files>(), "Level.lvl"));
    QCOMPARE(editor->Text3->text(), QStringLiteral("5"));
    QCOMPARE(editor->Text2->text(), QStringLiteral("9"));
    QCOMPARE(editor->VScroll2->value(), 12);
    QCOMPARE(editor->VScroll1->value(), 8);
    QCOMPARE(editor->Text1->toPlainText(), "1111\n1041" + QString(15, '\n'));
    QVERIFY(!m_forms->isLoaded(FormId::LoadFiles));
    QVERIFY(!m_forms->isLoaded(FormId::GameScreen));
}

void TestMapEditor::loadFillSkipsFailingSteps_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("boxes"); // left, top, time
    QTest::addColumn<QList<int>>("spinners"); // top, left
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<QString>("map");
    QTest::newRow("four lines") << QByteArray("480\r\n0\r\n255\r\n45\r\n") << QStringList{"2", "1", "45"}
                                << QList<int>{16, 15} << 255u << QString(16, '\n');
    QTest::newRow("no numbers") << QByteArray("left\r\n960\r\nblue\r\nsoon\r\n1\r\n") << QStringList{"1", "3", "soon"}
                                << QList<int>{14, 16} << 12632256u << "1" + QString(16, '\n');
}

void TestMapEditor::loadFillSkipsFailingSteps()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, boxes);
    QFETCH(QList<int>, spinners);
    m_dir->write("Some.lvl", file);
    MapEditor *editor = open();
    editor->Text1->setPlainText("1111");
    QTest::mouseClick(editor->Command4, Qt::LeftButton);
    QVERIFY(choose(m_forms->get<Load_Files>(), "Some.lvl"));
    QCOMPARE((QStringList{editor->Text3->text(), editor->Text2->text(), editor->Text5->text()}), boxes);
    QCOMPARE((QList<int>{editor->VScroll1->value(), editor->VScroll2->value()}), spinners);
    QTEST(editor->swatchColor(), "colour");
    QTEST(editor->Text1->toPlainText(), "map");
    QCOMPARE(editor->Text4->text(), QStringLiteral("Level"));
    QCOMPARE(m_log->shown, QStringList{});
    // The bars did not move; the next move replaces the loaded colour.
    clickArrow(editor->HScroll1[1], false);
    QCOMPARE(editor->previewColor(), QColor(192, 193, 192));
}

void TestMapEditor::closingAsksAndNoKeepsEditorOpen()
{
    MapEditor *editor = open();
    editor->Text1->setPlainText("123");
    QTest::mouseClick(editor->Command4, Qt::LeftButton);
    m_log->answers = {MessageBox::Answer::No, MessageBox::Answer::No};
    QTest::mouseClick(editor->Command2, Qt::LeftButton);
    QVERIFY(!editor->close());
    QCOMPARE(m_log->shown, QStringList(2, "SAVE: U Sure you saved the level ?!?! [Yes/No]"));
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->Text1->toPlainText(), QStringLiteral("123"));
    QVERIFY(!m_forms->isLoaded(FormId::MainMenu));

    // Yes: the main menu, and the load-level screen opened from here goes too.
    QTest::mouseClick(editor->Command2, Qt::LeftButton);
    QVERIFY(!m_forms->isLoaded(FormId::MapEditor));
    QVERIFY(!m_forms->isLoaded(FormId::LoadFiles));
    QVERIFY(m_forms->form(FormId::MainMenu)->isVisible());
}

void TestMapEditor::strokeRewritesTheCellsItPasses_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<int>("brush");
    QTest::addColumn<bool>("leftButton");
    QTest::addColumn<QList<QPoint>>("stroke");
    QTest::addColumn<QString>("painted");
    QTest::newRow("a wall into the empty box") << "" << 1 << true << QList<QPoint>{{2, 0}} << "0010000000000000";
    QTest::newRow("floor over a two-character code")
        << "8085" << 1 << false << QList<QPoint>{{1, 0}} << "800";
    QTest::newRow("two-character codes over one-character ones")
        << "111" << 84 << true << QList<QPoint>{{0, 0}, {2, 0}} << "848484";
    QTest::newRow("down past the last row") << "1\n" << 7 << true << QList<QPoint>{{0, 0}, {0, 2}}
                                            << "7\n7000000000000000\n7000000000000000";
    QTest::newRow("a short row gets floor up to the cell")
        << "85\n1" << 3 << true << QList<QPoint>{{3, 0}} << "85003\n1";
    QTest::newRow("a lone 8 at the end takes floor, the cell lands where painted")
        << "18" << 2 << true << QList<QPoint>{{3, 0}} << "18002";
    QTest::newRow("an empty row before the last line break becomes floor")
        << "12\n\n" << 5 << true << QList<QPoint>{{0, 1}, {0, 2}} << "12\n5000000000000000\n5000000000000000";
    QTest::newRow("the rest of a long row stays as it was")
        << "11\n" + QString(40000, u'8') << 3 << true << QList<QPoint>{{1, 1}, {1, 0}}
        << "13\n883" + QString(39996, u'8');
}

void TestMapEditor::strokeRewritesTheCellsItPasses()
{
    QFETCH(QString, map);
    QFETCH(int, brush);
    QFETCH(bool, leftButton);
    QFETCH(QList<QPoint>, stroke);
    MapEditor *editor = open();
    editor->Text1->setPlainText(map);
    const QRect tile = editor->Picture1->tileRect(brush);
    QTest::mouseClick(editor->Picture1, Qt::RightButton, {}, tile.center());
    QCOMPARE(editor->Picture1->brush(), brush);
    QCOMPARE(editor->Text1->toPlainText(), map);

    // The stroke jumps between the cells it is given; those between them
    // are painted all the same.
    const Qt::MouseButton button = leftButton ? Qt::LeftButton : Qt::RightButton;
    QTest::mousePress(editor->Picture2, button, {}, editor->Picture2->cellRect(stroke.first()).center());
    for (const QPoint &cell : stroke)
        QTest::mouseMove(editor->Picture2, editor->Picture2->cellRect(cell).center());
    QTest::mouseRelease(editor->Picture2, button, {}, editor->Picture2->cellRect(stroke.last()).center());
    QTEST(editor->Text1->toPlainText(), "painted");
    // The rows, report lines and cells the stroke left are those a check of
    // the whole map gives.
    const QStringList rows = editor->List1();
    std::vector<std::pair<QString, QPoint>> cells;
    for (const ImageElement &cell : editor->Image1())
        cells.emplace_back(cell.tag, QPoint(cell.left, cell.top));
    QStringList report;
    for (int i = 0; i < editor->List2->count(); ++i)
        report.append(editor->List2->item(i)->text());
    editor->Command1->click();
    QCOMPARE(rows, editor->List1());
    QCOMPARE(report.size(), editor->List2->count());
    for (int i = 0; i < editor->List2->count(); ++i)
        QCOMPARE(report.at(i), editor->List2->item(i)->text());
    QCOMPARE(cells.size(), editor->Image1().size());
    for (std::size_t i = 0; i < cells.size(); ++i)
        QCOMPARE(cells.at(i), std::pair(editor->Image1().at(i).tag, QPoint(editor->Image1().at(i).left, editor->Image1().at(i).top)));

    // One undo takes the whole stroke back and one redo brings it again,
    // wherever the focus is.
    QVERIFY(QTest::qWaitForWindowActive(editor));
    QFETCH(QString, painted);
    for (QWidget *focus : std::initializer_list<QWidget *>{editor->Text1, editor->Picture1, editor->VScroll3,
                                                           editor->Command4}) {
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor->Text1->toPlainText(), map);
        QTest::keyClick(focus, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(editor->Text1->toPlainText(), painted);
        QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(editor->Text1->toPlainText(), painted);
        QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier);
    }
    QCOMPARE(editor->Text1->toPlainText(), map);
}

void TestMapEditor::doubleClickPutsTheStartThere()
{
    MapEditor *editor = open();
    editor->Text1->setPlainText("11111\n10341\n11111");
    const QPoint cell(1, 1);
    const QPoint at = editor->Picture2->cellRect(cell).center();
    // A double-click comes after a first click, which paints a wall there.
    QTest::mouseClick(editor->Picture2, Qt::LeftButton, {}, at);
    QTest::mouseDClick(editor->Picture2, Qt::LeftButton, {}, at);
    QCOMPARE(editor->Text1->toPlainText(), QStringLiteral("11111\n10341\n11111"));
    QCOMPARE(editor->Text3->text(), QStringLiteral("2"));
    QCOMPARE(editor->Text2->text(), QStringLiteral("2"));
    QCOMPARE(editor->VScroll2->value(), 15);
    QCOMPARE(editor->VScroll1->value(), 15);
    QTRY_COMPARE(editor->Picture2->judgment(), MapPreview::Judgment::Winnable);

    // F6 draws the route it found from there into the exit.
    QTest::keyClick(editor->Text1, Qt::Key_F6);
    QCOMPARE(editor->Picture2->route(), (QList<QPoint>{{1, 1}, {2, 1}, {3, 1}}));
    editor->Text5->setText("31");
    QVERIFY(editor->Picture2->route().isEmpty());
}

void TestMapEditor::verdictHasAFrameColourOfItsOwn_data()
{
    QTest::addColumn<LevelCheck::Verdict>("verdict");
    QTest::addColumn<MapPreview::Judgment>("judgment");
    QTest::newRow("winnable") << LevelCheck::Verdict::Winnable << MapPreview::Judgment::Winnable;
    QTest::newRow("too fast") << LevelCheck::Verdict::TooFast << MapPreview::Judgment::NotWinnable;
    QTest::newRow("bad start") << LevelCheck::Verdict::BadStart << MapPreview::Judgment::NotWinnable;
    QTest::newRow("undecided") << LevelCheck::Verdict::Undecided << MapPreview::Judgment::Undecided;
}

// A search cut short is told apart from a yes, a no and a check at work.
void TestMapEditor::verdictHasAFrameColourOfItsOwn()
{
    QFETCH(LevelCheck::Verdict, verdict);
    QFETCH(MapPreview::Judgment, judgment);
    QCOMPARE(MapPreview::judgmentOf(verdict), judgment);
    MapEditor *editor = open();
    editor->Picture2->setJudgment(judgment, "Said in the tooltip.");
    const QImage shot = editor->Picture2->grab().toImage();
    QCOMPARE(shot.pixelColor(1, shot.height() / 2), MapPreview::bandColor(judgment));
    for (const auto other : {MapPreview::Judgment::Working, MapPreview::Judgment::Winnable,
                             MapPreview::Judgment::NotWinnable, MapPreview::Judgment::Undecided}) {
        if (other != judgment)
            QVERIFY(MapPreview::bandColor(other) != MapPreview::bandColor(judgment));
    }
}

void TestMapEditor::f6TellsWhetherTheLevelCanBeWon_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("settings"); // Left start, Top start, time
    QTest::addColumn<QString>("message");
    const QStringList secondCell{"2", "1", "30"};
    const QString cannot = "This level cannot be won: ";
    // Paces: the first key starts the clock and the last must fall before
    // it runs out; 1 move in 30 seconds is more than 0.03 moves a second.
    QTest::newRow("winnable") << QStringList{"10341"} << secondCell
                              << "This level can be won: a route of 2 moves, at 0.03 moves a second.";
    // The clock on the first step makes 3 + 15 seconds for 11 more moves.
    QTest::newRow("winnable with a clock")
        << QStringList{"1084" + QString(10, u'0') + "41"} << QStringList{"2", "1", "3"}
        << "This level can be won: a route of 12 moves taking 1 clock, at 0.61 moves a second.";
    QTest::newRow("diamond walled in") << QStringList{"10341", "11111", "17111"} << secondCell
                                       << cannot + "the diamond in row 3, column 2 cannot be reached.";
    // Columns count tiles, not characters; the first cause in reading order.
    QTest::newRow("banknote before diamond") << QStringList{"10341", "11111", "853857"} << secondCell
                                             << cannot + "the banknote in row 3, column 2 cannot be reached.";
    QTest::newRow("no exit") << QStringList{"10301"} << secondCell << cannot + "the level has no exit.";
    QTest::newRow("exit out of reach") << QStringList{"10301", "11114"} << secondCell
                                       << cannot + "no exit stands next to a cell the figure can reach.";
    // 27 moves after the first within 2 seconds.
    QTest::newRow("too fast") << QStringList{"1" + QString(28, u'0') + "41"} << QStringList{"2", "1", "2"}
                              << cannot + "no route gets out in time at 6 moves a second, whichever clocks it takes "
                                          "(the quickest found, of 28 moves, needs 13.50 moves a second).";
    QTest::newRow("more to collect than the search takes on")
        << QStringList(17, QString(25, u'3') + u'4') << QStringList{"1", "1", "30"}
        << "Whether this level can be won is not decided: the map holds too many things to collect to "
           "look for a route. 169 banknotes and diamonds lie outside the 16 × 16 board the player sees.";
    QTest::newRow("time is a word") << QStringList{"10341"} << QStringList{"2", "1", "soon"}
                                    << "This level cannot be won. The time limit of this level is not "
                                       "a number.";
    QTest::newRow("no map") << QStringList{} << secondCell
                            << "This level cannot be won. This level has no map to play.";
    const QString badStart = "This level cannot be played as it stands: the figure starts ";
    QTest::newRow("start on a wall, before the banknote walled in")
        << QStringList{"11111", "10341", "11111"} << QStringList{"1", "1", "30"}
        << badStart + "on the brick wall, in row 1, column 1. Put the start on the floor.";
    QTest::newRow("start on the exit") << QStringList{"10341"} << QStringList{"4", "1", "30"}
                                       << badStart + "on the exit, in row 1, column 4. Put the start on the floor.";
    QTest::newRow("start below the map") << QStringList{"10341"} << QStringList{"2", "3", "30"}
                                         << badStart + "outside the map, in row 3, column 2. Put the start on the floor.";
    // A banknote right of the board is taken, unseen, on the way.
    QTest::newRow("banknote past the board")
        << QStringList{"10" + QString(14, u'0') + "3", "14"} << secondCell
        << "This level can be won: a route of 31 moves, at 1.00 moves a second. 1 banknote or diamond lies outside "
           "the 16 × 16 board the player sees.";
    QTest::newRow("start outside the map")
        << QStringList{"10341"} << QStringList{"2", "17", "30"}
        << "The start location must be a whole number from 1 to 16 !";
}

void TestMapEditor::f6TellsWhetherTheLevelCanBeWon()
{
    QFETCH(QStringList, rows);
    QFETCH(QStringList, settings);
    MapEditor *editor = open();
    QVERIFY(QTest::qWaitForWindowActive(editor));
    editor->Text1->setPlainText(rows.join(u'\n'));
    editor->Text3->setText(settings.at(0));
    editor->Text2->setText(settings.at(1));
    editor->Text5->setText(settings.at(2));
    QTest::keyClick(editor->Text1, Qt::Key_F6);
    // Said beside the preview, without a box over it.
    QFETCH(QString, message);
    QTRY_COMPARE(editor->verdictLine->text(), message);
    QCOMPARE(editor->verdictLine->accessibleDescription(), message);
    QCOMPARE(m_log->shown, QStringList{});
    QCOMPARE(editor->Text1->toPlainText(), rows.join(u'\n'));
    QVERIFY(!m_forms->isLoaded(FormId::GameScreen));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
}

void TestMapEditor::f5TestPlayReturnsToTheEditorAsItWas_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<QStringList>("messages");
    // What the editor's verdict line then says of the play.
    QTest::addColumn<QString>("report");
    QTest::newRow("through the exit")
        << "exit" << QStringList{} << "Test play: out through the exit with 100 points, 30 seconds left.";
    QTest::newRow("close box") << "close" << QStringList{} << "F6: can this level be won?";
    QTest::newRow("last life") << "time"
                               << QStringList{"Veltrano: TIME OVER, Retry...", "Veltrano: TIME OVER, Retry...",
                                              "Veltrano: TIME OVER, Retry...", "Veltrano: You'r Finished !!!"}
                               << "Test play: the time ran out with no extra life left.";
}

void TestMapEditor::f5TestPlayReturnsToTheEditorAsItWas()
{
    QFETCH(QString, ending);
    MapEditor *editor = open();
    QVERIFY(QTest::qWaitForWindowActive(editor));
    for (const char *row : {"11111", "10341"}) {
        QTest::keyClicks(editor->Text1, row);
        QTest::keyClick(editor->Text1, Qt::Key_Return);
    }
    QTest::keyClicks(editor->Text1, "11111");
    clickArrow(editor->VScroll1, true);
    clickArrow(editor->VScroll2, true);
    editor->HScroll1[0]->setValue(10);
    editor->Text4->setText("Corridor");
    // The last typing, which Ctrl+Z must still take back afterwards.
    QTest::keyClick(editor->Text1, Qt::Key_Return);
    QTest::keyClicks(editor->Text1, "2222");
    QTextCursor caret = editor->Text1->textCursor();
    caret.setPosition(8);
    editor->Text1->setTextCursor(caret);

    QTest::keyClick(editor->Text1, Qt::Key_F5);
    auto *screen = qobject_cast<Game_Screen *>(m_forms->loaded(FormId::GameScreen));
    QVERIFY(screen);
    QVERIFY(screen->isVisible());
    QVERIFY(!editor->isVisible());
    QCOMPARE(screen->Label2->text(), QStringLiteral("Test"));
    QCOMPARE(screen->Cash->text(), QStringLiteral("1"));
    QCOMPARE(QPoint(screen->Image3().left, screen->Image3().top), QPoint(480, 480));
    QCOMPARE(screen->backColor(), QColor(10, 192, 192));

    if (ending == u"exit") {
        QTest::keyClick(screen, Qt::Key_Right);
        QTest::keyClick(screen, Qt::Key_Right);
    } else if (ending == u"close") {
        screen->close();
    } else {
        // Three retries, then the end.
        for (int tick = 0; tick < 1000 && m_forms->isLoaded(FormId::GameScreen); ++tick)
            screen->Timer1_Timer();
    }
    QVERIFY(!m_forms->isLoaded(FormId::GameScreen));
    QTEST(m_log->shown, "messages");
    QTEST(editor->verdictLine->text(), "report");
    QCOMPARE(m_forms->loaded(FormId::MapEditor), editor);
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->Text1->toPlainText(), QStringLiteral("11111\n10341\n11111\n2222"));
    QCOMPARE(editor->Text1->textCursor().position(), 8);
    QCOMPARE((QStringList{editor->Text3->text(), editor->Text2->text(), editor->Text5->text(), editor->Text4->text()}),
             (QStringList{"2", "2", "30", "Corridor"}));
    QCOMPARE(editor->swatchColor(), 10u + 192u * 256u + 192u * 65536u);
    // Neither LGT.Log nor a level file: a test play writes nothing.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{});

    QVERIFY(QTest::qWaitForWindowActive(editor));
    QTest::keyClick(editor->Text1, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor->Text1->toPlainText(), QStringLiteral("11111\n10341\n11111\n"));
    // Changed, and played again.
    QTest::keyClick(editor->Text1, Qt::Key_F5);
    QVERIFY(m_forms->isLoaded(FormId::GameScreen));
    QVERIFY(!editor->isVisible());
}

void TestMapEditor::f5RefusesWhatTheGameRefuses_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("message");
    QTest::newRow("time is a word") << "10341" << "1" << "soon"
                                    << "Error: The time limit of this level is not a number.";
    QTest::newRow("no map") << "\n\n" << "1" << "30" << "Error: This level has no map to play.";
    // What Save cannot write is not played either.
    QTest::newRow("map beyond Latin-1") << "10341é漢" << "1" << "30" << "Error: There has been a error!";
    QTest::newRow("time beyond Latin-1") << "10341" << "1" << QString("30") + QChar(0x3000)
                                         << "Error: There has been a error!";
    QTest::newRow("time a word beyond Latin-1") << "10341" << "1" << "soon€"
                                                << "Error: The time limit of this level is not a number.";
    QTest::newRow("start outside the map") << "10341" << "0" << "30"
                                           << "Veltrano: The start location must be a whole number from 1 to 16 !";
}

void TestMapEditor::f5RefusesWhatTheGameRefuses()
{
    QFETCH(QString, map);
    QFETCH(QString, top);
    QFETCH(QString, time);
    MapEditor *editor = open();
    QVERIFY(QTest::qWaitForWindowActive(editor));
    editor->Text1->setPlainText(map);
    editor->Text2->setText(top);
    editor->Text5->setText(time);
    QTest::keyClick(editor->Text1, Qt::Key_F5);
    QFETCH(QString, message);
    QCOMPARE(m_log->shown, QStringList{message});
    QVERIFY(!m_forms->isLoaded(FormId::GameScreen));
    QVERIFY(editor->isVisible());
}

QTEST_MAIN(TestMapEditor)
#include "tst_mapeditor.moc"
