// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorBench.h"

#include "Board.h"
#include "Forms.h"
#include "MapEditor.h"
#include "MapPreview.h"
#include "MessageBox.h"
#include "PaintCount.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>

namespace {

constexpr int WarmUpRuns = 20;

void type(QWidget *box, Qt::Key key, const QString &text, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(box, &release);
}

} // namespace

EditorBench::EditorBench(Forms &forms)
    : m_editor(forms.get<MapEditor>())
{
    forms.show(FormId::MapEditor);
    m_previewPaints = new PaintCount(m_editor->Picture2);
    m_editor->Text1->setPlainText(fullMap().join(u'\n'));
    QTextCursor caret = m_editor->Text1->textCursor();
    caret.movePosition(QTextCursor::End);
    m_editor->Text1->setTextCursor(caret);
    QCoreApplication::processEvents();
}

QStringList EditorBench::fullMap()
{
    static const char *const codes[] = {"80", "81", "82", "83", "84", "85", "86", "87", "88", "90"};
    QStringList rows;
    for (int row = 0; row < 16; ++row) {
        QString text;
        for (int column = 0; column < 16; ++column)
            text += QLatin1String(codes[(row + column) % std::size(codes)]);
        rows.append(text);
    }
    return rows;
}

Samples EditorBench::keystroke(int runs)
{
    const QString full = fullMap().join(u'\n');
    Samples samples;
    samples.reserve(std::size_t(runs));
    for (int run = -WarmUpRuns; run < runs; ++run) {
        // "+" takes back the last character of the map and the next key
        // types it again, so the map stays full.
        const bool takeBack = m_editor->Text1->toPlainText().size() == full.size();
        const int paintsBefore = m_previewPaints->count();
        const auto keystroke = [this, takeBack, &full] {
            if (takeBack)
                type(m_editor->Text1, Qt::Key_Plus, QStringLiteral("+"));
            else
                type(m_editor->Text1, Qt::Key_0, full.right(1));
            QCoreApplication::processEvents();
        };
        if (run < 0)
            keystroke();
        else
            samples.time(keystroke);
        if (m_previewPaints->count() == paintsBefore)
            m_problem = QStringLiteral("a keystroke did not repaint the preview");
        if (m_editor->List1().size() != 16)
            m_problem = QStringLiteral("the check did not see sixteen rows");
    }
    if (m_editor->Text1->toPlainText() != full)
        m_problem = QStringLiteral("the keystrokes did not leave the full map");
    return samples;
}

QString EditorBench::codes(qsizetype characters, qsizetype rowLength)
{
    QString text;
    text.reserve(characters);
    while (text.size() < characters) {
        const bool rowEnds = rowLength > 0 && text.size() % (rowLength + 1) == rowLength;
        text += rowEnds ? u'\n' : text.size() % 3 ? u'0' : u'1';
    }
    return text;
}

Samples EditorBench::paste(const QString &text, int runs)
{
    // Text too long for the map box is refused with a message and leaves
    // the box as it was; the message is answered here.
    const bool fits = text.size() <= MapTextBox::MaxLength;
    int messages = 0;
    MessageBox::setResponder([&messages](const MessageBox::Request &) {
        ++messages;
        return MessageBox::Answer::Ok;
    });
    QGuiApplication::clipboard()->setText(text);
    Samples samples;
    samples.reserve(std::size_t(runs));
    for (int run = 0; run < runs; ++run) {
        m_editor->Text1->clear();
        QCoreApplication::processEvents();
        const int paintsBefore = m_previewPaints->count();
        const int messagesBefore = messages;
        samples.time([this] {
            type(m_editor->Text1, Qt::Key_V, QString(), Qt::ControlModifier);
            QCoreApplication::processEvents();
        });
        if (!fits) {
            if (messages == messagesBefore || !m_editor->Text1->toPlainText().isEmpty())
                m_problem = QStringLiteral("a paste too long for the map box was not refused");
            continue;
        }
        if (m_previewPaints->count() == paintsBefore)
            m_problem = QStringLiteral("a paste did not repaint the preview");
        if (m_editor->Text1->toPlainText() != text)
            m_problem = QStringLiteral("a paste did not type the clipboard's text");
        if (m_editor->List1().size() != text.count(u'\n') + !text.endsWith(u'\n'))
            m_problem = QStringLiteral("the check after a paste did not see every row");
    }
    MessageBox::setResponder({});
    return samples;
}
