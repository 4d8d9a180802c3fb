// SPDX-License-Identifier: GPL-3.0-or-later
#include "HowToPlay.h"

#include "Pictures.h"
#include "TileCodes.h"
#include "TileRule.h"

#include <QCloseEvent>
#include <QImage>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// What a tile does, read from the game's own rule book so that the page
// cannot say otherwise than the play screen does.
QString whatItDoes(int code)
{
    const TileRule rule = TileRule::of(code);
    if (rule.exit)
        return QStringLiteral("The way out: shut while any banknote or diamond is left, it opens once the "
                              "screen cash is 0. Walk into it to finish the level.");
    if (rule.blocks())
        return QStringLiteral("Blocks the way: the explorer only turns towards it.");
    QStringList effects;
    if (rule.cash)
        effects.append(QStringLiteral("collect it: +%1 points, screen cash \u2212 1").arg(rule.score));
    if (rule.seconds > 0)
        effects.append(QStringLiteral("+%1 seconds on the clock").arg(rule.seconds));
    if (rule.lightsFloor)
        effects.append(QStringLiteral("the floor of the whole level turns white"));
    if (effects.isEmpty())
        return QStringLiteral("Walk on it.");
    QString text = QStringLiteral("Walk on it: ") + effects.join(QStringLiteral("; "));
    if (rule.clears)
        text += QStringLiteral("; it leaves bare floor behind");
    return text + u'.';
}

// A tile as the board shows it: its picture over the grey of a level's
// floor, or the floor alone.
QImage tileImage(int code)
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(192, 192, 192));
    QPainter painter(&image);
    painter.drawPixmap(0, 0, Pictures::tile(QString::number(code)));
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    return image;
}

QString section(const QString &heading, const QStringList &lines)
{
    QString html = QStringLiteral("<h3>%1</h3><ul>").arg(heading);
    for (const QString &line : lines)
        html += QStringLiteral("<li>%1</li>").arg(line);
    return html + QStringLiteral("</ul>");
}

} // namespace

HowToPlay::HowToPlay()
    : QWidget(nullptr, Qt::Window)
{
    setWindowTitle(QStringLiteral("Veltrano - How to play"));
    setAccessibleName(windowTitle());
    m_text = new QTextBrowser(this);
    m_text->setAccessibleName(QStringLiteral("How to play"));
    m_text->setOpenLinks(false);
    // Read by keyboard like a page: the arrows and Page Up and Down scroll,
    // with a caret a screen reader can follow line by line.
    m_text->setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    write();
    resize(560, 600);

    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setAutoRepeat(false);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void HowToPlay::write()
{
    QString tiles = QStringLiteral("<h3>The tiles</h3><table cellspacing='4'>");
    for (const int code : TileCodes::all()) {
        const QString name = TileCodes::name(code);
        m_text->document()->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("tile:%1").arg(code)),
                                        tileImage(code));
        tiles += QStringLiteral("<tr><td><img src='tile:%1' width='32' height='32' alt='%2'></td>"
                                "<td><b>%2</b> (code %1)<br>%3</td></tr>")
                     .arg(code)
                     .arg(name.toHtmlEscaped(), whatItDoes(code).toHtmlEscaped());
    }
    tiles += QStringLiteral("</table><p>The edge of the map blocks too.</p>");

    QString html = QStringLiteral("<h2>How to play Veltrano</h2>"
                                  "<p>Steer the explorer over the map with the arrow keys, one tile a key. "
                                  "Collect every banknote and diamond: together they are the screen cash "
                                  "shown beside \"Screen Cash:\". Once the screen cash is 0 the exit opens; "
                                  "walk into it and the next level begins. After level 20 come the "
                                  "credits.</p>");
    html += section(QStringLiteral("Keys while playing"),
                    {QStringLiteral("<b>Arrow keys</b>: turn the explorer that way and step one tile, if the "
                                    "tile there lets him."),
                     QStringLiteral("<b>Escape</b> or <b>Pause</b>: pause. The clock stops and the board is "
                                    "covered until you press a key, which then counts as usual."),
                     QStringLiteral("<b>Q</b> on the pause cover: leave the game."),
                     QStringLiteral("<b>M</b>: sound on or off."),
                     QStringLiteral("<b>F1</b>: this page, from every window.")});
    html += section(QStringLiteral("The clock"),
                    {QStringLiteral("It stands still until your first key on a level, then counts down one "
                                    "second a tick."),
                     QStringLiteral("A clock tile adds 15 seconds."),
                     QStringLiteral("When it reaches 0 the time is over."),
                     QStringLiteral("A level whose time is 0 never runs out.")});
    html += section(QStringLiteral("Lives"),
                    {QStringLiteral("You have three extra lives, shown on the right."),
                     QStringLiteral("Time over costs one, and the level starts again from the beginning; "
                                    "your score stays."),
                     QStringLiteral("With no extra life left the game is over and starts again at level 1 "
                                    "with three extra lives; your score stays. A level from a file brings "
                                    "back the load-level screen instead.")});
    html += section(QStringLiteral("The exit"),
                    {QStringLiteral("It stays shut while any banknote or diamond is left on the screen."),
                     QStringLiteral("It opens when the screen cash reaches 0; nothing on the screen changes "
                                    "then, but the next push into it finishes the level.")});
    html += tiles;
    html += section(QStringLiteral("Menus"),
                    {QStringLiteral("<b>Up</b> and <b>Down</b> move, <b>Enter</b> chooses; or point and click."),
                     QStringLiteral("<b>Escape</b> leaves any window but the main menu, as its close box "
                                    "does."),
                     QStringLiteral("In \"Start from level\": <b>B</b> the best results, <b>W</b> watch the "
                                    "highlighted level's best run, <b>S</b> show me a way through it."),
                     QStringLiteral("In \"Load level from file\": <b>Enter</b> or <b>Space</b> plays the "
                                    "highlighted file; <b>Open\u2026</b> plays one from another folder; "
                                    "<b>Show me a way</b> plays the highlighted file through for you."),
                     QStringLiteral("A run being watched is marked across the top of the board; any key "
                                    "ends it.")});
    html += section(QStringLiteral("The Level Creator"),
                    {QStringLiteral("Type the map in the map box, one row per line, one code per tile: 0 to 7 "
                                    "take one character, 80 to 88 and 90 two. A space types 0, + deletes "
                                    "the last character."),
                     QStringLiteral("Palette: click a tile to add its code at the caret; <b>right-click</b> a "
                                    "tile to make it the brush."),
                     QStringLiteral("Preview: <b>drag</b> with the left button to paint the brush, with the "
                                    "right button to paint floor; <b>double-click</b> a cell to start the "
                                    "explorer there."),
                     QStringLiteral("<b>Ctrl+Z</b> takes back the last change to the map, a whole painted "
                                    "stroke at once; <b>Ctrl+Y</b> brings it back."),
                     QStringLiteral("<b>F5</b> plays the map as it stands; closing the play screen brings the "
                                    "editor back as you left it."),
                     QStringLiteral("<b>F6</b> says whether the map can be won, and draws the route or marks "
                                    "the cell at fault."),
                     QStringLiteral("<b>F7</b> shows the map played through by the route F6 finds, at a pace "
                                    "you can follow; any key ends it."),
                     QStringLiteral("Save writes the level as NAME.lvl; \"Load level\" reads one back.")});
    m_text->setHtml(html);
}

void HowToPlay::showOver(QWidget *window)
{
    if (window && window != this)
        m_openedOver = window;
    // The first time in the middle of the screen the player is looking at;
    // after that where the player left it.
    if (!m_placed) {
        m_placed = true;
        const QScreen *screen = m_openedOver ? m_openedOver->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            const QRect area = screen->availableGeometry();
            resize(size().boundedTo(area.size() * 9 / 10));
            move(area.center() - rect().center());
        }
    }
    show();
    raise();
    activateWindow();
    m_text->setFocus(Qt::ActiveWindowFocusReason);
}

void HowToPlay::closeEvent(QCloseEvent *event)
{
    event->accept();
    // The window the player came from takes the keys again; a paused game
    // stays paused until the next key.
    if (m_openedOver && m_openedOver->isVisible())
        m_openedOver->activateWindow();
    m_openedOver.clear();
}
