#pragma once

#include <QObject>
#include <QString>

#include <tuple>
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

#if __has_include(<QTest>)
// A data-driven test over a table of tuples, each with its tag first: the test data holds the
// index.
template <typename Row, size_t N> void addRows(const Row (&rows)[N])
{
    QTest::addColumn<int>("row");
    for (size_t i = 0; i < N; ++i)
        QTest::newRow(std::get<0>(rows[i])) << int(i);
}
template <typename Row, size_t N> const Row &fetchRow(const Row (&rows)[N])
{
    QFETCH(int, row);
    return rows[row];
}
#endif
