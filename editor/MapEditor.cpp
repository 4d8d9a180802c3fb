// SPDX-License-Identifier: GPL-3.0-or-later
#include "MapEditor.h"

#include "Board.h"
#include "ColourBar.h"
#include "Colors.h"
#include "Fonts.h"
#include "LevelCheck.h"
#include "LevelFile.h"
#include "LevelRecord.h"
#include "LevelPlay.h"
#include "LevelTable.h"
#include "LiveVerdict.h"
#include "MapPreview.h"
#include "MapTextBox.h"
#include "MessageBox.h"
#include "ProgramDir.h"
#include "RegularFile.h"
#include "TabStopDelegate.h"
#include "TilePalette.h"
#include "TileCodes.h"
#include "Twips.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>

#include <cmath>
#include <numeric>

namespace {

constexpr int StartCells = Twips::MapCells;

// What Save says, titled "Error", of a level it cannot write.
const QString SaveError = QStringLiteral("There has been a error!");
const QString StartError = QStringLiteral("The start location must be a whole number from 1 to 16 !");

QLabel *label(const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *caption = new QLabel(text, parent);
    caption->setGeometry(geometry);
    return caption;
}

QLineEdit *textBox(const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *box = new QLineEdit(text, parent);
    box->setGeometry(geometry);
    return box;
}

QScrollBar *scrollBar(Qt::Orientation orientation, int minimum, int maximum, int value, const QRect &geometry,
                      QWidget *parent)
{
    auto *bar = new QScrollBar(orientation, parent);
    bar->setRange(minimum, maximum);
    bar->setValue(value);
    // One step per arrow click and per click in the track.
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setGeometry(geometry);
    // Tab reaches the spinners and bars, whose arrow keys then step them; a
    // click leaves the focus where it was, so typing goes on in the map.
    bar->setFocusPolicy(Qt::TabFocus);
    return bar;
}

QPushButton *button(const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *command = new QPushButton(text, parent);
    command->setGeometry(geometry);
    return command;
}

// A box read as a number; nothing for text that is no finite number.
std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The name becomes a file beside the program: a separator, "." or "..", or
// a character that Windows refuses in file names would put the level
// somewhere else or nowhere, and a name the file system's encoding cannot
// hold would be saved under another one, so such a name is never written.
bool isPlainFileName(const QString &name)
{
    if (name == u"." || name == u".." || QFile::decodeName(QFile::encodeName(name)) != name)
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 32 || QStringView(u"\\/:*?\"<>|").contains(c))
            return false;
    }
    return true;
}

} // namespace

MapEditor::MapEditor()
    : Form(QStringLiteral("Veltrano - MAP EDITOR"), 13830, 7725, Frame::Dialog)
{
    setFont(Fonts::msSansSerif(8));

    // The map box comes first so that it is first in the tab order.
    Text1 = new MapTextBox(this);
    Text1->setGeometry(Twips::rect(1560, 0, 4455, 3495));
    Text1->setFont(Fonts::courier(9.75));
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab leaves the map for the next control, as it does everywhere else in
    // the window; a tab character is no tile code.
    Text1->setTabChangesFocus(true);
    Text1->installEventFilter(this);
    connect(Text1, &MapTextBox::textPasted, this, &MapEditor::Text1_Paste);

    List2 = new QListWidget(this);
    List2->setGeometry(Twips::rect(0, 0, 1455, 3180));
    List2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The counts line up after the label of a two-digit row number.
    List2->setItemDelegate(new TabStopDelegate(QStringLiteral("Line00: "), List2));

    Picture1 = new TilePalette(this);
    Picture1->setGeometry(Twips::rect(600, 3480, 4455, 1095));
    connect(Picture1, &TilePalette::tileClicked, this, &MapEditor::Image2_Click);

    Picture2 = new MapPreview(this);
    Picture2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture2->setLineWidth(1);
    Picture2->setGeometry(Twips::rect(6120, 0, 7710, 7725));
    Picture2->setTiles({ImageElement{}});
    connect(Picture2, &MapPreview::strokeStarted, this, &MapEditor::startStroke);
    connect(Picture2, &MapPreview::cellPainted, this, &MapEditor::paintCell);
    connect(Picture2, &MapPreview::startChosen, this, &MapEditor::chooseStart);

    m_verdict = new LiveVerdict(this);
    connect(m_verdict, &LiveVerdict::judged, this, &MapEditor::showVerdict);

    Frame2 = new QGroupBox(QStringLiteral("Start location:"), this);
    Frame2->setGeometry(Twips::rect(600, 4800, 1935, 975));
    label(QStringLiteral("Top Start:"), Twips::rect(120, 240, 1695, 255), Frame2);
    Text2 = textBox(QStringLiteral("1"), Twips::rect(960, 240, 495, 285), Frame2);
    VScroll1 = scrollBar(Qt::Vertical, 1, StartCells, StartCells, Twips::rect(1440, 240, 255, 255), Frame2);
    label(QStringLiteral("Left start:"), Twips::rect(120, 600, 1695, 255), Frame2);
    Text3 = textBox(QStringLiteral("1"), Twips::rect(960, 600, 495, 285), Frame2);
    VScroll2 = scrollBar(Qt::Vertical, 1, StartCells, StartCells, Twips::rect(1440, 600, 255, 255), Frame2);
    connect(VScroll1, &QScrollBar::valueChanged, this, [this](int value) { spin(VScroll1, value, Text2); });
    connect(VScroll2, &QScrollBar::valueChanged, this, [this](int value) { spin(VScroll2, value, Text3); });

    Frame1 = new QGroupBox(QStringLiteral("background Color:"), this);
    Frame1->setGeometry(Twips::rect(600, 5880, 1935, 1575));
    label(QStringLiteral("Color:"), Twips::rect(120, 360, 1695, 255), Frame1);
    Picture3 = new QFrame(Frame1);
    Picture3->setGeometry(Twips::rect(960, 360, 855, 255));
    Picture3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture3->setAutoFillBackground(true);
    const QString colourNames[] = {QStringLiteral("Red:"), QStringLiteral("Green:"), QStringLiteral("Blue:")};
    for (int i = 0; i < 3; ++i) {
        const int top = 720 + 240 * i;
        label(colourNames[i], Twips::rect(120, top, 1695, 255), Frame1);
        // The bars stand 240 twips apart; at the 255 twips of the labels
        // beside them each would cover the top line of the next.
        const int first = int(LevelTable::ButtonFaceGrey >> (8 * i) & 0xFF);
        HScroll1[std::size_t(i)] = new ColourBar(first, Frame1);
        HScroll1[std::size_t(i)]->setGeometry(Twips::rect(960, top, 855, 240));
        HScroll1[std::size_t(i)]->setFocusPolicy(Qt::TabFocus);
        // Tracking is on, so this also follows the thumb while it is dragged.
        connect(HScroll1[std::size_t(i)], &QScrollBar::valueChanged, this, &MapEditor::HScroll1_Change);
    }

    Frame4 = new QGroupBox(QStringLiteral("Time For this level:"), this);
    Frame4->setGeometry(Twips::rect(2640, 4800, 2415, 975));
    Text5 = textBox(QStringLiteral("30"), Twips::rect(120, 360, 1935, 285), Frame4);
    VScroll3 = scrollBar(Qt::Vertical, 10, 120, 100, Twips::rect(2040, 360, 255, 255), Frame4);
    connect(VScroll3, &QScrollBar::valueChanged, this, [this](int value) { spin(VScroll3, value, Text5); });

    Frame3 = new QGroupBox(QStringLiteral("Save File:"), this);
    Frame3->setGeometry(Twips::rect(2640, 5880, 2415, 975));
    label(QStringLiteral("Level Name:"), Twips::rect(120, 240, 1815, 255), Frame3);
    Text4 = textBox(QStringLiteral("Level"), Twips::rect(120, 480, 1575, 285), Frame3);
    Command3 = button(QStringLiteral("Save"), Twips::rect(1680, 480, 615, 285), Frame3);
    connect(Command3, &QPushButton::clicked, this, &MapEditor::Command3_Click);

    Command4 = button(QStringLiteral("Load level"), Twips::rect(2640, 6960, 1095, 495), this);
    connect(Command4, &QPushButton::clicked, this, &MapEditor::Command4_Click);
    Command2 = button(QStringLiteral("Exit"), Twips::rect(4080, 6960, 975, 495), this);
    connect(Command2, &QPushButton::clicked, this, &MapEditor::Command2_Click);

    // The check sits behind a hidden button that every change of the map box
    // presses.
    Command1 = button(QStringLiteral("Check"), Twips::rect(5760, 3000, 75, 195), this);
    Command1->hide();
    connect(Command1, &QPushButton::clicked, this, &MapEditor::Command1_Click);
    connect(Text1, &QPlainTextEdit::textChanged, this, &MapEditor::Text1_Change);
    // The start and the time change the verdict as the map does.
    for (QLineEdit *box : {Text2, Text3, Text5})
        connect(box, &QLineEdit::textChanged, this, &MapEditor::levelChanged);

    // The designer's two questions have keys and no control of their own, so
    // the window looks as it always has.
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, this, &MapEditor::playTest);
    connect(new QShortcut(QKeySequence(Qt::Key_F6), this), &QShortcut::activated, this, &MapEditor::tellWinnable);
    // Escape is the close box: the closing question is asked as ever.
    closeOnEscape();

    // A screen reader would otherwise name each box after the frame around
    // it, both start boxes "Start location:" and all three bars
    // "background Color:".
    Text1->setAccessibleName(QStringLiteral("Map rows"));
    List2->setAccessibleName(QStringLiteral("Line report"));
    Picture2->setAccessibleName(QStringLiteral("Preview"));
    Picture3->setAccessibleName(QStringLiteral("Level colour"));
    Text2->setAccessibleName(QStringLiteral("Top start"));
    VScroll1->setAccessibleName(QStringLiteral("Top start spinner"));
    Text3->setAccessibleName(QStringLiteral("Left start"));
    VScroll2->setAccessibleName(QStringLiteral("Left start spinner"));
    for (int i = 0; i < 3; ++i)
        HScroll1[std::size_t(i)]->setAccessibleName(colourNames[i].chopped(1));
    Text5->setAccessibleName(QStringLiteral("Time limit"));
    VScroll3->setAccessibleName(QStringLiteral("Time limit spinner"));
    Text4->setAccessibleName(QStringLiteral("Level name"));
}

void MapEditor::Form_Load()
{
    QTextCursor caret = Text1->textCursor();
    caret.movePosition(QTextCursor::End);
    Text1->setTextCursor(caret);
    Text1->setFocus();
    // The colour is part of the level the first check judges, and the
    // preview shows the floor the play screen would show for it.
    showLevelColor(LevelTable::rgb(HScroll1[0]->value(), HScroll1[1]->value(), HScroll1[2]->value()));
    Command1->click();
}

void MapEditor::Image2_Click(int Index)
{
    // From the keyboard the palette keeps the focus, so that the next tile
    // is a key away.
    const bool fromKeys = Picture1->hasFocus();
    QTextCursor caret = Text1->textCursor();
    caret.insertText(QString::number(Index));
    caret.movePosition(QTextCursor::End);
    Text1->setTextCursor(caret);
    if (!fromKeys)
        Text1->setFocus();
}

void MapEditor::paintCell(const QPoint &cell, bool withBrush)
{
    if (cell.x() < 0 || cell.y() < 0)
        return;
    const QString code = QString::number(withBrush ? Picture1->brush() : int(TileCodes::Floor));
    // Empty rows after the last one written are no part of the map yet: a
    // cell painted below them makes them floor, as it does the rows it adds.
    const qsizetype lines = m_list1.size() + (m_lastBreak ? 1 : 0);
    qsizetype written = m_list1.size();
    while (written > 0 && m_list1.at(written - 1).isEmpty())
        --written;
    QList<std::pair<qsizetype, TileCodes::RowPaint>> changes;
    for (qsizetype row = written; row <= cell.y(); ++row) {
        QString text = QString::number(TileCodes::Floor).repeated(Twips::MapCells);
        if (row == cell.y()) {
            const TileCodes::RowPaint paint = TileCodes::paint(text, cell.x(), code);
            text.replace(paint.from, paint.length, paint.text);
        }
        TileCodes::RowPaint fill;
        fill.codes = TileCodes::cutRow(text);
        fill.text = std::move(text);
        changes.append({row, fill});
    }
    if (cell.y() < written) {
        const TileCodes::RowPaint paint = TileCodes::paint(m_list1.at(cell.y()), cell.x(), code);
        if (!paint.changes())
            return;
        changes.append({cell.y(), paint});
    }

    // The rows are rewritten in the map box through its own undo stack, a
    // whole stroke as one step, and only where the cell's code changes.
    QTextDocument *map = Text1->document();
    QTextCursor edit(map);
    m_painting = true;
    if (m_stroke.edited)
        edit.joinPreviousEditBlock();
    else
        edit.beginEditBlock();
    for (const auto &[row, change] : std::as_const(changes)) {
        if (row < lines) {
            const int start = map->findBlockByNumber(int(row)).position();
            edit.setPosition(start + int(change.from));
            edit.setPosition(start + int(change.from + change.length), QTextCursor::KeepAnchor);
            edit.insertText(change.text);
        } else {
            edit.movePosition(QTextCursor::End);
            edit.insertText(u'\n' + change.text);
        }
    }
    edit.endEditBlock();
    m_painting = false;
    for (const auto &[row, change] : std::as_const(changes))
        checkPainted(row, change);
    levelChanged();
    m_stroke.cells.append(cell);
    m_stroke.edited = true;
}

void MapEditor::checkPainted(qsizetype row, const TileCodes::RowPaint &change)
{
    if (row < m_list1.size()) {
        m_list1[row].replace(change.from, change.length, change.text);
    } else {
        // Rows are added in order, the first of them on the line after the
        // last line break.
        m_list1.append(change.text);
        m_lastBreak = false;
        m_codeCounts.push_back(0);
    }
    const QString report = QStringLiteral("Line%1: \t%2 Chr.").arg(row + 1).arg(m_list1.at(row).size());
    if (row < List2->count())
        List2->item(int(row))->setText(report);
    else
        List2->addItem(report);

    std::vector<ImageElement> cells;
    cells.reserve(std::size_t(change.codes.size()));
    for (qsizetype i = 0; i < change.codes.size(); ++i)
        cells.push_back(Board::tileOf(change.codes.at(i), int(change.firstCode + i), int(row)));
    const auto rowStart = std::accumulate(m_codeCounts.begin(), m_codeCounts.begin() + row, qsizetype(0));
    Picture2->replaceTiles(std::size_t(rowStart + change.firstCode), std::size_t(change.replaced), std::move(cells));
    m_codeCounts[std::size_t(row)] += change.codes.size() - change.replaced;
}

void MapEditor::startStroke()
{
    m_previousStroke = m_stroke;
    m_stroke = Stroke{};
    m_stroke.started.start();
}

void MapEditor::chooseStart(const QPoint &cell)
{
    // The clicks of the double-click painted the cell; the start goes on the
    // map as it was. Only a stroke of this double-click counts: one that
    // began within the double-click time.
    const QList<QPoint> clicked{cell};
    const auto paintedHere = [&](const Stroke &stroke) {
        return stroke.edited && stroke.cells == clicked && stroke.started.isValid()
            && stroke.started.elapsed() <= 2 * QApplication::doubleClickInterval();
    };
    if (paintedHere(m_stroke) || paintedHere(m_previousStroke))
        Text1->undo();
    m_stroke = Stroke{};
    m_previousStroke = Stroke{};
    VScroll2->setValue(VScroll2->minimum() + VScroll2->maximum() - (cell.x() + 1));
    VScroll1->setValue(VScroll1->minimum() + VScroll1->maximum() - (cell.y() + 1));
    Text3->setText(QString::number(cell.x() + 1));
    Text2->setText(QString::number(cell.y() + 1));
}

bool MapEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            return Text1_KeyPress(key->text());
    }
    return Form::eventFilter(watched, event);
}

bool MapEditor::Text1_KeyPress(const QString &typed)
{
    // "+" takes back the last code typed and a space is the empty floor;
    // every other key is the map box's own.
    if (typed != u"+" && typed != u" ")
        return false;
    Text1->type(typed);
    return true;
}

void MapEditor::Text1_Paste(const QString &text)
{
    // Counted as the box will hold it, a CR LF as the one line break it becomes.
    if (Text1->lengthAfterTyping(text) > MapTextBox::MaxLength) {
        MessageBox::show(this, QStringLiteral("This text is too long for a map: the map box holds at most %1 "
                                              "characters, so nothing was pasted.")
                                   .arg(MapTextBox::MaxLength));
        return;
    }
    // The whole text is one change, so the check runs once for it and not
    // once per character, which froze the editor on a long paste.
    Text1->type(text);
}

void MapEditor::Text1_Change()
{
    if (!m_painting)
        Command1->click();
}

void MapEditor::Command1_Click()
{
    m_list1 = Text1->toPlainText().split(u'\n');
    // The line break after the last row makes no row of its own; a second
    // one is an empty row and is reported as such.
    m_lastBreak = m_list1.last().isEmpty();
    if (m_lastBreak)
        m_list1.removeLast();

    List2->clear();
    for (qsizetype i = 0; i < m_list1.size(); ++i)
        List2->addItem(QStringLiteral("Line%1: \t%2 Chr.").arg(i + 1).arg(m_list1.at(i).size()));

    // The cells are laid out as the play screen lays out its tiles; the last
    // one stays hidden as the next cell to fill.
    std::vector<ImageElement> cells = Board::layOut(m_list1);
    m_codeCounts.assign(std::size_t(m_list1.size()), 0);
    for (const ImageElement &cell : cells)
        ++m_codeCounts[std::size_t(cell.top / Twips::Cell)];
    cells.push_back(ImageElement{{}, 0, 0, {}, false});
    Picture2->setTiles(std::move(cells));
    levelChanged();
}

void MapEditor::spin(const QScrollBar *spinner, int value, QLineEdit *box)
{
    // The upper arrow lowers a scroll bar's value, so the number in the box
    // is counted from the other end of the range: the upper arrow raises it
    // (17 - value for a start cell, 130 - value for the time).
    box->setText(QString::number(spinner->minimum() + spinner->maximum() - value));
}

void MapEditor::HScroll1_Change()
{
    showLevelColor(LevelTable::rgb(HScroll1[0]->value(), HScroll1[1]->value(), HScroll1[2]->value()));
}

void MapEditor::setSwatch(quint32 value)
{
    m_swatch = value;
    Colors::setBackColor(Picture3, Colors::fromValue(value));
}

void MapEditor::showLevelColor(quint32 value)
{
    setSwatch(value);
    Picture2->setBackground(Colors::fromValue(value));
}

QString MapEditor::mapText() const
{
    return Text1->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
}

bool MapEditor::filexist(const QString &path)
{
    return RegularFile::occupied(path);
}

bool MapEditor::SaveList(const QStringList &list, const QString &path)
{
    if (LevelFile::write(path, list))
        return true;
    MessageBox::show(this, SaveError, QStringLiteral("Error"));
    return false;
}

std::optional<int> MapEditor::startCell(const QLineEdit *box)
{
    const std::optional<double> value = number(box->text());
    if (!value || *value != std::floor(*value) || *value < 1 || *value > StartCells)
        return std::nullopt;
    return int(*value);
}

void MapEditor::Command3_Click()
{
    const QString name = Text4->text();
    if (name.isEmpty()) {
        MessageBox::show(this, QStringLiteral("No file name !"));
        return;
    }
    if (!isPlainFileName(name)) {
        MessageBox::show(this, SaveError, QStringLiteral("Error"));
        return;
    }
    const std::optional<QStringList> header = fileHeader();
    if (!header)
        return;
    // Nothing is saved that the game would refuse to play, in the words the
    // load-level screen would refuse it with.
    const QString problem = LevelRecord::playProblem(*levelLines());
    if (!problem.isEmpty()) {
        MessageBox::show(this, problem, QStringLiteral("Error"));
        return;
    }

    const QString path = ProgramDir::filePath(name + QStringLiteral(".lvl"));
    if (filexist(path)
        && MessageBox::show(this, QStringLiteral("File Already Exist, Replace ?"), QStringLiteral("Veltrano"),
                            MessageBox::Buttons::YesNo)
               == MessageBox::Answer::No)
        return;

    m_list3 = *header + QStringList{mapText()};
    if (!SaveList(m_list3, path))
        return;
    MessageBox::show(this, QStringLiteral("file saved successfully !"));
}

std::optional<QPoint> MapEditor::start() const
{
    // The start boxes take typing too; the file needs a cell of the map.
    const std::optional<int> left = startCell(Text3);
    const std::optional<int> top = startCell(Text2);
    if (!left || !top)
        return std::nullopt;
    return QPoint(*left - 1, *top - 1);
}

std::optional<QStringList> MapEditor::headerLines() const
{
    const std::optional<QPoint> cell = start();
    if (!cell)
        return std::nullopt;
    return LevelRecord::headerLines(cell->x() * Twips::Cell, cell->y() * Twips::Cell, m_swatch, Text5->text());
}

std::optional<QStringList> MapEditor::fileHeader()
{
    const std::optional<QStringList> header = headerLines();
    if (!header)
        MessageBox::show(this, StartError);
    return header;
}

std::optional<QStringList> MapEditor::levelLines() const
{
    const std::optional<QStringList> header = headerLines();
    if (!header)
        return std::nullopt;
    // Save writes every line of the map box as a line of the file.
    return *header + m_list1 + (m_lastBreak ? QStringList{QString()} : QStringList{});
}

std::optional<QStringList> MapEditor::fileLines()
{
    if (!fileHeader())
        return std::nullopt;
    return levelLines();
}

void MapEditor::levelChanged()
{
    Picture2->clearFindings();
    Picture2->setStart(start());
    const std::optional<QStringList> lines = levelLines();
    if (!lines) {
        Picture2->setJudgment(MapPreview::Judgment::NotWinnable, StartError);
        return;
    }
    Picture2->setJudgment(MapPreview::Judgment::Working, QStringLiteral("Working out whether it can be won..."));
    m_verdict->request(*lines);
}

void MapEditor::showVerdict(const QStringList &lines, const LevelCheck &check)
{
    // A level the designer has changed since is judged again already.
    if (levelLines() != lines)
        return;
    Picture2->setJudgment(MapPreview::judgmentOf(check.verdict()), check.sentence());
}

void MapEditor::showFindings(const QStringList &lines, const LevelCheck &check)
{
    switch (check.verdict()) {
    case LevelCheck::Verdict::Winnable:
        if (check.route())
            showRoute(lines, *check.route());
        break;
    case LevelCheck::Verdict::Blocked:
        if (check.obstacle().kind == Obstacle::Kind::CannotBeReached
            || check.obstacle().kind == Obstacle::Kind::BeyondReach)
            Picture2->markCell(check.obstacle().cell);
        break;
    case LevelCheck::Verdict::BadStart:
        Picture2->markCell(check.obstacle().cell);
        break;
    case LevelCheck::Verdict::Unreadable:
    case LevelCheck::Verdict::Refused:
    case LevelCheck::Verdict::TooFast:
    // A search cut short has neither a route to draw nor a cell to blame.
    case LevelCheck::Verdict::Undecided:
        break;
    }
}

void MapEditor::showRoute(const QStringList &lines, const Route &route)
{
    // The route as the explorer walks it: the cells it stands on, then the
    // exit it pushes into.
    const LevelMap map(LevelRecord::fromFileLines(lines));
    LevelPlay play(map);
    QList<QPoint> cells;
    QList<QPoint> clocks;
    if (play.figure())
        cells.append(*play.figure());
    for (const QChar key : route.keys) {
        const auto arrow = Arrow::ofLetter(key);
        if (!arrow)
            continue;
        const LevelRules::Press press = play.press(*arrow);
        const QPoint cell = press.cell / Twips::Cell;
        if (press.moved || press.leaves)
            cells.append(cell);
        if (press.moved && press.tile.seconds > 0)
            clocks.append(cell);
    }
    Picture2->showRoute(cells, clocks);
}

void MapEditor::playTest()
{
    const std::optional<QStringList> lines = fileLines();
    if (!lines)
        return;
    // What Save would refuse to write is not played either, with the words
    // Save uses: the play would show a level that can never be kept.
    if (!LevelFile::canHold(*lines)) {
        MessageBox::show(this, SaveError, QStringLiteral("Error"));
        return;
    }
    // The same refusal, in the same words, as for the level saved and picked
    // from the list: a test play must not promise what the file cannot keep.
    const QString problem = LevelRecord::playProblem(*lines);
    if (!problem.isEmpty()) {
        MessageBox::show(this, problem, QStringLiteral("Error"));
        return;
    }
    emit testPlayChosen(LevelRecord::fromFileLines(*lines));
}

void MapEditor::tellWinnable()
{
    const std::optional<QStringList> lines = fileLines();
    if (!lines)
        return;
    // A level with many banknotes and clocks takes the search a moment.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const LevelCheck check = LevelCheck::ofLines(*lines);
    QGuiApplication::restoreOverrideCursor();
    showFindings(*lines, check);
    showVerdict(*lines, check);
    MessageBox::show(this, check.sentence());
}

void MapEditor::Command4_Click()
{
    emit loadLevelChosen();
}

void MapEditor::Command2_Click()
{
    close();
}

void MapEditor::loadFromFile(const QStringList &lines)
{
    const LevelRecord::Header header = LevelRecord::header(lines);
    if (header.startX)
        Text3->setText(QString::number(*header.startX / Twips::Cell + 1, 'g', 15));
    if (header.startY)
        Text2->setText(QString::number(*header.startY / Twips::Cell + 1, 'g', 15));
    // The spinners follow the boxes; a start outside the map leaves them.
    for (const auto &[spinner, box] : {std::pair{VScroll1, Text2}, std::pair{VScroll2, Text3}}) {
        if (const auto start = number(box->text())) {
            const double value = std::nearbyint(spinner->minimum() + spinner->maximum() - *start);
            if (value >= spinner->minimum() && value <= spinner->maximum())
                spinner->setValue(int(value));
        }
    }
    if (header.color)
        showLevelColor(*header.color);
    Text5->setText(header.time);
    QStringList rows;
    for (int i = 0; i < LevelRecord::FileRows; ++i)
        rows.append(LevelRecord::line(lines, 4 + i));
    Text1->setPlainText(rows.join(u'\n'));
}

void MapEditor::Form_Unload(bool &cancel)
{
    cancel = MessageBox::show(this, QStringLiteral("U Sure you saved the level ?!?!"), QStringLiteral("SAVE"),
                              MessageBox::Buttons::YesNo)
        == MessageBox::Answer::No;
}

QColor MapEditor::previewColor() const
{
    return Picture2->background();
}

const std::vector<ImageElement> &MapEditor::Image1() const
{
    return Picture2->tiles();
}
