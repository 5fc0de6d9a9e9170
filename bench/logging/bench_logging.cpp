// How the log window and the save behave with long logs: the cost of one tick with 1,000,
// 100,000 and 1,000,000 records, against the old way of reading and setting the whole text; the
// time to save 100,000 records; the memory a log of 1,000,000 records holds.

#include "device/seriallink.h"
#include "logging/dirlistbox.h"
#include "logging/logfiledialog.h"
#include "logging/logrecord.h"
#include "logging/logwindow.h"
#include "main/mainwindow.h"
#include "platform/clock.h"
#include "platform/messageboxes.h"
#include "procstatus.h"
#include "quietplatform.h"
#include "support/named.h"
#include <QPushButton>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTime>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

class SilentModule final : public SerialLink
{
public:
    void open(const QByteArray &) override {}
    void close() override {}
    void sendByte(int) override {}
    qint16 readByte() override { return -1; }
    void setRts(int) override {}
    void setDtr(int) override {}
    void delay(int) override {}
};

const QString Sample = logRecord(QStringLiteral("14:05:09"), QStringLiteral("21.5 °C"),
                                 QStringLiteral("20.9 °C"), QStringLiteral("22.3 °C"));

// Brings the log up to count records in one insertion; the records themselves do not matter.
void fillTo(QPlainTextEdit *edit, int count)
{
    const int have = edit->document()->blockCount() - 1;
    if (have >= count)
        return;
    QString records;
    records.reserve(qsizetype(count - have) * Sample.size());
    for (int i = have; i < count; ++i)
        records += Sample;
    QTextCursor end(edit->document());
    end.movePosition(QTextCursor::End);
    end.insertText(records);
    QCoreApplication::processEvents();
}

// Processor time of this thread in nanoseconds: other programs on a busy machine do not count.
qint64 threadNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

struct Timing
{
    double processorMs;
    double wallMs;
};

double median(std::vector<qint64> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return double(values[values.size() / 2]) / 1e6;
}

// Median time of one step, the window's repaint included.
Timing medianTiming(int repetitions, const std::function<void()> &step)
{
    std::vector<qint64> processor;
    std::vector<qint64> wall;
    QElapsedTimer timer;
    for (int i = 0; i < repetitions; ++i) {
        const qint64 start = threadNanoseconds();
        timer.start();
        step();
        QCoreApplication::processEvents();
        wall.push_back(timer.nsecsElapsed());
        processor.push_back(threadNanoseconds() - start);
    }
    return {median(processor), median(wall)};
}

void printTiming(const char *what, const Timing &timing)
{
    std::printf("  %-28s %9.3f ms processor time, %9.3f ms wall time\n", what, timing.processorMs,
                timing.wallMs);
}

// Resident memory in MiB, from the kernel's view of this process.
double residentMiB()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    return statusKilobytes("VmRSS") / 1024.0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    SilentModule serial;
    QuietPlatform seams;
    MainWindow form(serial, seams.platform);
    named<QLineEdit>(form, "Text1")->setText(QStringLiteral("21.5 °C"));
    named<QLineEdit>(form, "Text2")->setText(QStringLiteral("20.9 °C"));
    named<QLineEdit>(form, "Text3")->setText(QStringLiteral("22.3 °C"));

    named<QAction>(form, "m_datei_logd")->trigger();
    LogWindow *log = LogWindow::instance();
    log->show();
    QCoreApplication::processEvents();
    const double memoryBefore = residentMiB();

    std::printf("One log tick (median of 201), appending at the end of the text:\n");
    std::vector<Timing> ticks;
    for (int count : {1000, 100000, 1000000}) {
        fillTo(named<QPlainTextEdit>(*log, "Text1"), count);
        if (count == 100000) {
            QTemporaryDir dir;
            named<QPushButton>(*log, "Command2")->click();
            LogFileDialog *dialog = LogFileDialog::instance();
            named<DirListBox>(*dialog, "Dir1")->setPath(dir.path());
            named<QLineEdit>(*dialog, "Text1")->setText(QStringLiteral("bench"));
            const Timing save =
                medianTiming(5, [dialog] { named<QPushButton>(*dialog, "Command1")->click(); });
            const qint64 bytes = QFile(dir.filePath(QStringLiteral("bench.txt"))).size() / 5;
            std::printf("  (Save of 100,000 records, %lld bytes, median of 5: %.1f ms processor "
                        "time, %.1f ms wall time; goal: under 500 ms)\n",
                        bytes, save.processorMs, save.wallMs);
        }
        ticks.push_back(medianTiming(201, [log] { log->recordReadings(); }));
        printTiming(QByteArray::number(count).append(" records:").constData(), ticks.back());
    }
    std::printf("  1,000,000 against 1,000 records: %.2f times processor time, %.2f times wall "
                "time (goal: at most 2)\n",
                ticks.back().processorMs / ticks.front().processorMs,
                ticks.back().wallMs / ticks.front().wallMs);
    std::printf("Memory held by a log of 1,000,000 records: %.0f MiB resident\n",
                residentMiB() - memoryBefore);
    delete LogFileDialog::instance();
    delete log;

    // The old way: read the whole text, append the record, set the whole text again.
    std::printf("One log tick, reading and setting the whole text (baseline):\n");
    QPlainTextEdit literal;
    literal.resize(321, 193);
    literal.show();
    for (auto [count, repetitions] : {std::pair{1000, 51}, std::pair{100000, 5}}) {
        fillTo(&literal, count);
        const Timing tick = medianTiming(repetitions, [&] {
            literal.setPlainText(literal.toPlainText() +
                                 logRecord(clockText(seams.clock.currentTime()),
                                           named<QLineEdit>(form, "Text1")->text(),
                                           named<QLineEdit>(form, "Text2")->text(),
                                           named<QLineEdit>(form, "Text3")->text()));
        });
        printTiming(QByteArray::number(count).append(" records:").constData(), tick);
    }
    std::printf("  1000000 records: not measured; the tick grows with the text\n");
    return 0;
}
