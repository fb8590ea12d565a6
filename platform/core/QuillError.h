#pragma once
#include <QString>
#include <stdexcept>

// An error with a description a user can read. Components and the printing
// run raise it; the handler that catches it shows description() as it is.
class QuillError : public std::runtime_error {
public:
    explicit QuillError(const QString &description)
        : std::runtime_error(description.toStdString())
        , m_description(description)
    {
    }
    const QString &description() const { return m_description; }

private:
    QString m_description;
};

// A value as a message quotes it: in double quotes and cut after 80
// characters, since a value may be 64 KB long and a message box is not.
// Control characters (NUL among them, which would end the message on a
// terminal, and those that move its cursor) show as \xNN.
inline QString quoted(const QString &value)
{
    constexpr qsizetype kShown = 80;
    QString shown;
    for (const QChar c : QStringView(value).left(kShown)) {
        const char16_t code = c.unicode();
        if (code < 0x20 || (code >= 0x7F && code <= 0x9F))
            shown += QStringLiteral("\\x%1").arg(unsigned(code), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return u'"' + shown + (value.size() > kShown ? QStringLiteral("...") : QString()) + u'"';
}
