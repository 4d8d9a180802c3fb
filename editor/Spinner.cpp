// SPDX-License-Identifier: GPL-3.0-or-later
#include "Spinner.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

namespace {

// What a screen reader reads of a spinner: the number shown, its range, and
// a way to set it.
class SpinnerAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit SpinnerAccessible(Spinner *spinner)
        : QAccessibleWidget(spinner, QAccessible::ScrollBar)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return QString::number(spinner()->shown());
        return QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return spinner()->shown(); }
    void setCurrentValue(const QVariant &value) override { spinner()->setShown(value.toInt()); }
    QVariant maximumValue() const override { return spinner()->maximum(); }
    QVariant minimumValue() const override { return spinner()->minimum(); }
    QVariant minimumStepSize() const override { return spinner()->singleStep(); }

private:
    Spinner *spinner() const { return static_cast<Spinner *>(widget()); }
};

QAccessibleInterface *spinnerInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String(Spinner::staticMetaObject.className()) && object->isWidgetType())
        return new SpinnerAccessible(static_cast<Spinner *>(object));
    return nullptr;
}

} // namespace

Spinner::Spinner(int minimum, int maximum, QWidget *parent)
    : QScrollBar(Qt::Vertical, parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(spinnerInterface);
        return true;
    }();
    Q_UNUSED(installed)
    setRange(minimum, maximum);
}
