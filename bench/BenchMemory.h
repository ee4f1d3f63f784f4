// The process's own memory figures, read from /proc, for benchmarks that
// print a peak beside their times.
#pragma once

#include <QByteArray>
#include <QFile>

// A "Vm..." figure of /proc/self/status in kB; -1 when it cannot be read.
inline long StatusKb(const char* Key)
{
    QFile Status(QStringLiteral("/proc/self/status"));
    if (!Status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& Line : Status.readAll().split('\n'))
        if (Line.startsWith(Key))
            return Line.mid(qstrlen(Key)).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Makes VmHWM start again from the present resident size.
inline bool ResetPeak()
{
    QFile Refs(QStringLiteral("/proc/self/clear_refs"));
    return Refs.open(QIODevice::WriteOnly) && Refs.write("5") == 1;
}
