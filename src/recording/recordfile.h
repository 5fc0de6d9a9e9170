#pragma once

#include <QByteArray>
#include <QString>

// A day file open for appending. Each append is one write to the system, so a record reaches it
// whole; one the disk takes only in part is cut back, or, where that fails, the next record starts
// on a line of its own.
class RecordFile
{
public:
    // Why the folder takes no records, in the groups the status bar tells apart.
    enum class Failure { None, Full, Missing, NoPermission, Other };

    RecordFile() = default;
    ~RecordFile() { close(); }
    RecordFile(const RecordFile &) = delete;
    RecordFile &operator=(const RecordFile &) = delete;

    // Opens the file, creating it when missing.
    Failure open(const QString &path);
    bool isOpen() const { return m_file >= 0; }
    // Nothing written yet: a new file, or one a failing disk left empty.
    bool isEmpty() const { return m_length == 0; }
    // A file whose last line was left unfinished (a killed run, a write the disk cut short) gets a
    // line end first.
    Failure append(const QByteArray &bytes);
    // Hands what was written over to the disk itself.
    void sync();
    // Syncs and closes.
    void close();

    static Failure failureOf(int error);

private:
    // Whether the name still leads to the open file: records written after the folder was
    // removed would go nowhere.
    bool stillNamed() const;
    // One write to the system: the bytes it took, or -1 with errno set.
    qint64 writeOnce(const QByteArray &bytes);
    // Cuts the file back to the length; false where the system would not.
    bool truncateTo(qint64 length);

    QString m_path;
    int m_file = -1;
    qint64 m_length = 0;
    bool m_lineOpen = false;
    quint64 m_device = 0;
    quint64 m_inode = 0;
};
