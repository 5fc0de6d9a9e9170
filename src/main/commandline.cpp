#include "commandline.h"

#include "warmlog_version.h"

#include <QCommandLineParser>

namespace {

const QString Name = QStringLiteral("warmlog");

} // namespace

namespace commandline {

Outcome parse(const QStringList &arguments, StartOptions *options, QString *text)
{
    // Qt's own help and error texts are English; these are written out here in German.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Zeigt diese Hilfe."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Zeigt die Versionsnummer."));
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("Wählt den Anschluss wie das Menü: COM1 bis COM4 oder etwa ttyUSB0."),
        QStringLiteral("Anschluss"));
    const QCommandLineOption record(
        QStringLiteral("record"),
        QStringLiteral("Zeichnet eine Messreihe im Ordner auf, eine Datei je Tag."),
        QStringLiteral("Ordner"));
    const QCommandLineOption tray(QStringLiteral("tray"),
                                  QStringLiteral("Startet mit dem Fenster im Infobereich."));
    const QList<QCommandLineOption> all{help, version, port, record, tray};
    QCommandLineParser parser;
    parser.addOptions(all);

    const QString hint = QStringLiteral(" (%1 --help zeigt die Optionen)").arg(Name);
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString dashes =
                unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--");
            *text = QStringLiteral("%1: unbekannte Option %2%3").arg(Name, dashes, unknown.first());
        } else if (arguments.last() == QLatin1String("--port") ||
                   arguments.last() == QLatin1String("--record")) {
            *text = QStringLiteral("%1: Nach %2 fehlt der Wert").arg(Name, arguments.last());
        } else {
            *text = QStringLiteral("%1: ungültige Angabe in den Optionen").arg(Name);
        }
        *text += hint;
        return Outcome::Invalid;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *text = QStringLiteral("%1: unerwartetes Argument „%2“")
                    .arg(Name, parser.positionalArguments().first()) +
                hint;
        return Outcome::Invalid;
    }
    for (const QCommandLineOption &valued : {port, record}) {
        if (parser.values(valued).size() > 1 ||
            (parser.isSet(valued) && parser.value(valued).isEmpty())) {
            *text = QStringLiteral("%1: --%2 braucht genau einen Wert")
                        .arg(Name, valued.names().first()) +
                    hint;
            return Outcome::Invalid;
        }
    }
    if (parser.isSet(help)) {
        *text = QStringLiteral("Aufruf: %1 [Optionen]\n"
                               "Zeigt die Temperatur und die Batteriespannung eines Spions.\n\n"
                               "Optionen:\n")
                    .arg(Name);
        for (const QCommandLineOption &option : all) {
            QStringList names = option.names();
            for (QString &name : names)
                name.prepend(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"));
            QString left = names.join(QStringLiteral(", "));
            if (!option.valueName().isEmpty())
                left += QStringLiteral(" <%1>").arg(option.valueName());
            *text += QStringLiteral("  %1  %2\n").arg(left, -22).arg(option.description());
        }
        return Outcome::Help;
    }
    if (parser.isSet(version)) {
        *text = QStringLiteral("%1 %2.%3.%4\n")
                    .arg(Name)
                    .arg(WARMLOG_VERSION_MAJOR)
                    .arg(WARMLOG_VERSION_MINOR)
                    .arg(WARMLOG_VERSION_PATCH);
        return Outcome::Version;
    }
    options->port = parser.value(port);
    options->recordFolder = parser.value(record);
    options->tray = parser.isSet(tray);
    return Outcome::Start;
}

} // namespace commandline
