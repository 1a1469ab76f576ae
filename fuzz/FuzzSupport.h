#pragma once

// What the fuzz targets share: a private folder for inputs that the code reads as files, a check
// that turns a broken promise into a crash libFuzzer keeps, and a panel fed by the real refresh.

#include "render/Bargraph.h"
#include "render/ExpandVariables.h"
#include "render/RefreshLCD.h"
#include "sources/media/WinampLink.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QVarLengthArray>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace fuzz {

// A media player that answers each question, a command and its argument, from a table; it writes
// no playlist (the target writes the one it wants). A handful of answers, kept without a heap.
struct TablePlayer : WinampLink {
    struct Answer {
        qint32 command, argument, value;
    };
    QVarLengthArray<Answer, 8> answers;
    void answer(qint32 command, qint32 argument, qint32 value) {
        for (Answer& a : answers) {
            if (a.command == command && a.argument == argument) {
                a.value = value;
                return;
            }
        }
        answers.append({command, argument, value});
    }
    QString find() override { return QStringLiteral("fuzz"); }
    qint32 send(const QString&, qint32 command, qint32 argument) override {
        for (const Answer& a : answers) {
            if (a.command == command && a.argument == argument) {
                return a.value;
            }
        }
        return 0;
    }
};

// One folder per process, in memory when /dev/shm is there; it goes when the run ends.
inline const QString& scratchDir() {
    static QTemporaryDir dir((QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                        : QDir::tempPath()) +
                             QStringLiteral("/relayeur-fuzz-XXXXXX"));
    static const QString path = dir.path();
    FUZZ_CHECK(dir.isValid());
    return path;
}

// A plain write(): QFile would allocate (and the sanitizer fill) a 16 KiB buffer per input.
inline void writeBytes(const QString& path, const QByteArray& bytes) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    FUZZ_CHECK(fd >= 0);
    const ssize_t written = ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size()));
    ::close(fd);
    FUZZ_CHECK(written == bytes.size());
}

inline QString writeFile(const QString& relative, const QByteArray& bytes) {
    const QString path = scratchDir() + QLatin1Char('/') + relative;
    writeBytes(path, bytes);
    return path;
}

// A file of the scratch folder that stays open, each input written over the one before: cheaper
// than finding, opening and emptying it again for every input. Whoever reads it by its name sees
// the last bytes written, and only those.
class KeptFile {
public:
    explicit KeptFile(const QString& relative)
        : path(scratchDir() + QLatin1Char('/') + relative),
          fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC,
                    0600)) {
        FUZZ_CHECK(fd >= 0);
    }
    void write(QByteArrayView bytes) {
        FUZZ_CHECK(::pwrite(fd, bytes.data(), size_t(bytes.size()), 0) == bytes.size());
        // Only a shorter input leaves bytes of the one before to cut.
        if (bytes.size() < size) {
            FUZZ_CHECK(::ftruncate(fd, bytes.size()) == 0);
        }
        size = bytes.size();
    }

    const QString path;

private:
    const int fd;
    qsizetype size = 0;
};

inline QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The same values on every call: 4 December 2026, 21:13:08, in French. Made once per process: a
// locale costs a look-up and an allocation, a local QDateTime a time-zone look-up.
inline VariableSources fixedSources() {
    static const VariableSources fixed = [] {
        VariableSources s;
        s.locale = QLocale(QLocale::French, QLocale::France);
        static const QDateTime now(QDate(2026, 12, 4), QTime(21, 13, 8));
        s.now = [] { return now; };
        s.memoryStatus = [] { return MemoryStatus{1073741824, 101187584, 3221225472, 2147483648}; };
        s.mbmValue = [](qint16 index, SensorKind) { return index * 1.25; };
        s.ipAddresses = [](const QByteArray& separator) {
            return "10.0.0.5" + separator + "192.0.2.7";
        };
        return s;
    }();
    return fixed;
}

// A page model on a panel of C columns and L lines, refreshed as the window's timer does.
struct PanelRun {
    PageModel pages;
    DisplayConfig config;
    PresenceFlags flags;
    ProfileParams params;
    VariableSources sources = fixedSources();

    PanelRun(qint16 columns, qint16 lines) {
        config.C = columns;
        config.L = lines;
        config.TypeLCD = 1;
        flags.MbmPresent = true;
    }

    void tick() {
        const std::optional<Frame> frame = RefreshLCD(
            {pages, config,
             [this] {
                 const std::optional<ClockTime> clock =
                     ExpandVariables({pages, config, flags, sources});
                 // A text the 16-bit Length cannot count would be cut or lost.
                 for (const LineRecord& line : pages.CurrentLines) {
                     FUZZ_CHECK(line.Text.size() <= 32767);
                 }
                 return clock;
             },
             [this](const QByteArray& text) {
                 return Bargraph(text, config.C, params.plein, params.vide, sources.locale);
             }});
        // An empty line is written as 20 blanks whatever the width.
        for (int i = 0; frame && i < frame->lines; ++i) {
            FUZZ_CHECK(frame->rows[i].value_or(QByteArray()).size() <= std::max<int>(config.C, 20));
        }
    }
};

} // namespace fuzz
