#pragma once

#include <QString>
#include <QTextStream>

#include <cstdio>

// Where a command writes: results to standard output, warnings and errors to standard error,
// each line prefixed with the program's name.
class Console {
public:
    Console() : m_out(stdout), m_err(stderr) {}

    void line(const QString &text) { m_out << text << '\n'; }
    void warning(const QString &text) { m_err << "kav-theme: warning: " << text << Qt::endl; }
    // Returns the exit status of a failed command, so that commands can `return console.error(...)`.
    int error(const QString &text)
    {
        m_out.flush();
        m_err << "kav-theme: " << text << Qt::endl;
        return 1;
    }
    void flush()
    {
        m_out.flush();
        m_err.flush();
    }

private:
    QTextStream m_out;
    QTextStream m_err;
};
