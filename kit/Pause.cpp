#include "Pause.h"

#include "Form.h"

#include <QEventLoop>
#include <QList>
#include <QPointer>
#include <QTimer>

#include <cmath>

namespace {

int depth = 0;

QList<QPointer<QObject>> &pendingDisposals()
{
    static QList<QPointer<QObject>> objects;
    return objects;
}

} // namespace

Pause::Scope::Scope()
{
    ++depth;
}

Pause::Scope::~Scope()
{
    if (--depth > 0)
        return;
    const QList<QPointer<QObject>> objects = std::exchange(pendingDisposals(), {});
    for (const QPointer<QObject> &object : objects) {
        if (object)
            object->deleteLater();
    }
}

bool Pause::wait(double seconds, Form *owner)
{
    const QPointer<Form> guard(owner);
    if (!guard || guard->isUnloaded())
        return false;
    {
        const Scope scope;
        QEventLoop loop;
        QTimer deadline;
        deadline.setSingleShot(true);
        deadline.setTimerType(Qt::PreciseTimer);
        QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(owner, &Form::unloaded, &loop, &QEventLoop::quit);
        deadline.start(int(std::lround(std::max(0.0, seconds) * 1000)));
        loop.exec();
    }
    return guard && !guard->isUnloaded();
}

void Pause::disposeLater(QObject *object)
{
    if (depth == 0)
        object->deleteLater();
    else
        pendingDisposals().append(object);
}
