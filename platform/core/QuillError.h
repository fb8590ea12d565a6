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
inline QString quoted(const QString &value)
{
    constexpr qsizetype kShown = 80;
    return u'"' + (value.size() > kShown ? value.left(kShown) + QStringLiteral("...") : value) + u'"';
}
