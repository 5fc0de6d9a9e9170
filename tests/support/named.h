#pragma once

#include <QObject>
#include <QString>

#include <type_traits>

// Only tests see Qt Test's headers; the benchmarks use this too.
#if __has_include(<QTest>)
#include <QPushButton>
#include <QTest>
#endif

// A control of a window, found by its object name. A missing one fails the current test only: the
// test goes on with a stand-in, which it leaks, so that later test functions still run. In a
// benchmark it ends the run.
template <typename Control> Control *named(const QObject &window, const char *name)
{
    if (auto *found = dynamic_cast<Control *>(window.findChild<QObject *>(QLatin1String(name))))
        return found;
    const QString missing = window.objectName() + QStringLiteral(" has no control ") + name;
#if __has_include(<QTest>)
    QTest::qFail(qPrintable(missing), __FILE__, __LINE__);
    return new std::conditional_t<std::is_abstract_v<Control>, QPushButton, Control>;
#else
    qFatal("%s", qPrintable(missing));
#endif
}
