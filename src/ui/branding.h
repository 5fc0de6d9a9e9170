#pragma once

#include <QIcon>
#include <QString>

// The program's name: its windows' and message boxes' title.
inline QString programTitle()
{
    return QStringLiteral("Warmlog");
}

// The windows' 32 x 32 icon. The desktop's sizes are the folders below :/icons/hicolor.
inline QIcon programWindowIcon()
{
    return QIcon(QStringLiteral(":/icons/warmlog.png"));
}

// Who wrote the program: named in the info box, the main window's status bar and the links window.
namespace author {
constexpr char Name[] = "Jonas Feldkamp";
constexpr char ShortName[] = "J. Feldkamp";
constexpr char EMail[] = "jonas.feldkamp@example.org";
} // namespace author
