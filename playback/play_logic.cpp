#include "playback/play_logic.h"

#include "projectfile/letter_case.h"

namespace vidorun {

QString wrongCdText(const QString &label)
{
    return QStringLiteral("Please insert CD with label: '") + label + QLatin1Char('\'');
}

QString missingMovieText(const QString &path)
{
    return QStringLiteral("I can't find '") + path + QLatin1Char('\'');
}

QString startFailedText(const QString &path, const QString &reason)
{
    QString text = QStringLiteral("I can't play '") + path + QLatin1Char('\'');
    if (!reason.isEmpty())
        text += QLatin1String("\r\n") + reason;
    return text;
}

QString markerFileName(const QString &label)
{
    return windowsUpper(label + QLatin1String(".ini"));
}

QString startCommandLine(const QString &platformId, const QString &path)
{
    if (platformId == QLatin1String("2"))
        return QStringLiteral("CMD /C ") + path;
    return QStringLiteral("START ") + path;
}

bool closesAfterPlay(const QString &closeAfterPlay)
{
    return closeAfterPlay == QLatin1String("1");
}

std::optional<TrayStep> trayStep(const QString &trayState)
{
    if (trayState == TrayClosed)
        return TrayStep{CloseCaption, TrayOpenCommand, TrayOpen};
    if (trayState == TrayOpen)
        return TrayStep{EjectCaption, TrayCloseCommand, TrayClosed};
    return std::nullopt;
}

}  // namespace vidorun
