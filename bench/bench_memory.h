#pragma once
// Peak resident memory of the benchmark process.
#include <QFile>

namespace velta::bench {

// Peak resident memory of the process in MiB (VmHWM of /proc/self/status;
// 0 where the system has no such file). It is the peak of the whole run so
// far: a benchmark run alone (--benchmark_filter) reports its own.
inline double peakMemoryMiB()
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return 0;
    for (QByteArray line = f.readLine(); !line.isEmpty(); line = f.readLine())
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
    return 0;
}

} // namespace velta::bench
