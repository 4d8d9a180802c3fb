// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Form.h"
#include "ImageElement.h"
#include "LevelRecord.h"
#include "MapTextBox.h"
#include "TileCodes.h"

#include <QColor>
#include <QElapsedTimer>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

class LevelCheck;
struct Route;
class LiveVerdict;
class MapPreview;
class QFrame;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;
class TilePalette;

// The level editor: the map typed as rows of tile codes or put together from
// the tile palette, checked and drawn on every change, with the start cell,
// the level colour and the time limit beside it, saved as a level file and
// loaded back through the load-level screen. The level lives only in the
// boxes; there is no other record of it.
class MapEditor : public Form
{
    Q_OBJECT

public:
    MapEditor();

    void Form_Load() override;

    // Puts the code of a palette tile in place of the map box's selection.
    void Image2_Click(int Index);
    // The check: row buffer, line report and preview from the map box.
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

    // Fills the boxes from the lines of a level file; a line that does not
    // fit its box leaves that box as it was.
    void loadFromFile(const QStringList &lines);

    // F5: asks for the level in the boxes to be played as it stands, unsaved,
    // unless the game would refuse it, which is said as for a file.
    void playTest();
    // F6: says in a message whether the level in the boxes can be won, by the
    // check the designers' tool makes, or the first reason it cannot be.
    void tellWinnable();

    // True when something other than a directory has the name, a link
    // included, dangling or not: saving there replaces it.
    static bool filexist(const QString &path);
    // Writes the items as the lines of a level file; shows "There has been a
    // error!" and returns false when the file cannot be written or the text
    // has characters a level file cannot hold.
    bool SaveList(const QStringList &list, const QString &path);

    // The map box's text with the file's CR LF between its rows.
    QString mapText() const;
    // The colour value of the swatch, red in the lowest byte.
    quint32 swatchColor() const { return m_swatch; }
    QColor previewColor() const;

    const QStringList &List1() const { return m_list1; }
    const std::vector<ImageElement> &Image1() const;

    MapTextBox *Text1 = nullptr; // the map
    QListWidget *List2 = nullptr;    // the line report
    TilePalette *Picture1 = nullptr;
    MapPreview *Picture2 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QGroupBox *Frame3 = nullptr;
    QGroupBox *Frame4 = nullptr;
    QLineEdit *Text2 = nullptr; // Top start
    QLineEdit *Text3 = nullptr; // Left start
    QLineEdit *Text4 = nullptr; // level name
    QLineEdit *Text5 = nullptr; // time limit
    QScrollBar *VScroll1 = nullptr;
    QScrollBar *VScroll2 = nullptr;
    QScrollBar *VScroll3 = nullptr;
    std::array<QScrollBar *, 3> HScroll1{}; // red, green, blue
    QFrame *Picture3 = nullptr;             // the colour swatch
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;

signals:
    // "Load level": the player wants a level file in the editor.
    void loadLevelChosen();
    // F5: the level to play on the play screen while the editor waits,
    // unchanged, for the play to end.
    void testPlayChosen(const LevelRecord &level);

protected:
    void Form_Unload(bool &cancel) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Every change of the map box presses the check, except a painted cell,
    // whose stroke brings the check up to date itself.
    void Text1_Change();
    void spin(const QScrollBar *spinner, int value, QLineEdit *box);
    void HScroll1_Change();
    // Handles a typed character; true when the map box must not get it.
    bool Text1_KeyPress(const QString &typed);
    // Inserts pasted or dropped text as if typed, as one change of the map.
    void Text1_Paste(const QString &text);
    void setSwatch(quint32 value);
    // Painting on the preview: one cell of a stroke, and a double-click.
    void startStroke();
    void paintCell(const QPoint &cell, bool withBrush);
    // The check of a painted cell: the rows, report lines and preview cells
    // of the rows the paint changed, and nothing else.
    void checkPainted(qsizetype row, const TileCodes::RowPaint &change);
    void chooseStart(const QPoint &cell);
    // After every change of the map, the start or the time: the preview's
    // start, and a new verdict asked for.
    void levelChanged();
    void showVerdict(const QStringList &lines, const LevelCheck &check);
    // What F6 found, on the preview: the route, or the cell at fault.
    void showFindings(const QStringList &lines, const LevelCheck &check);
    void showRoute(const QStringList &lines, const Route &route);
    // The swatch and the preview background together.
    void showLevelColor(quint32 value);

    static std::optional<int> startCell(const QLineEdit *box);
    // The start cell (column, row) the boxes give; nothing when either
    // holds no cell of the map.
    std::optional<QPoint> start() const;
    // The four lines before the map, and the level in the boxes as the
    // lines of its file; nothing while the start boxes hold no cell.
    std::optional<QStringList> headerLines() const;
    std::optional<QStringList> levelLines() const;
    // The four lines before the map in the level file, from the boxes; says
    // so and gives nothing when a start box holds no cell of the map.
    std::optional<QStringList> fileHeader();
    // The level in the boxes as the lines of its file, as Save would write it
    // and the load-level screen read it back.
    std::optional<QStringList> fileLines();

    QStringList m_list1;
    // The map box's text ends in a line break that makes no row of its own.
    bool m_lastBreak = false;
    // How many codes each row of the row buffer holds: where a row's cells
    // begin among the preview's.
    std::vector<qsizetype> m_codeCounts;
    // A painted cell is being written into the map box.
    bool m_painting = false;
    QStringList m_list3;
    quint32 m_swatch = 0;
    LiveVerdict *m_verdict = nullptr;
    // The stroke being painted: the cells it changed, so that a double-click
    // can take its first click back.
    struct Stroke
    {
        QList<QPoint> cells;
        bool edited = false;
        QElapsedTimer started;
    };
    Stroke m_stroke;
    Stroke m_previousStroke;
};
