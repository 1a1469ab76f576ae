// Four line templates full of %% variables, expanded with every source on (values, clock and
// locale taken from the input, the same on every call) and refreshed onto a panel of any size,
// each line anywhere in its scrolling. The groups are the real ones over a fake player, running or
// not, and a scratch SETI folder, there or not.
#include "FuzzSupport.h"
#include "render/GameGroups.h"
#include "render/WinampGroup.h"
#include "sources/NetworkAddress.h"

#include <bit>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

// The texts at the front of the input, read as FuzzedDataProvider::ConsumeRandomLengthString
// reads them (a backslash doubled stands for itself, one followed by anything else ends the
// text), but made straight into a QByteArray, a run without a backslash at a time: the std::string
// way costs three allocations and a look at each byte, and an input holds a dozen texts.
class Texts {
public:
    Texts(FuzzedDataProvider& in, const uint8_t* data) : in(in), front(data) {}
    QByteArray operator()(size_t most) {
        const uint8_t* at = front;
        const uint8_t* const end = front + in.remaining_bytes();
        QByteArray text;
        while (size_t(text.size()) < most && at < end) {
            const size_t room = std::min(most - size_t(text.size()), size_t(end - at));
            const auto* backslash = static_cast<const uint8_t*>(std::memchr(at, '\\', room));
            const uint8_t* const runEnd = backslash ? backslash : at + room;
            text.append(reinterpret_cast<const char*>(at), runEnd - at);
            at = runEnd;
            if (!backslash) {
                break;
            }
            if (++at == end || *at++ == '\\') {
                text.append('\\'); // doubled, or the input's last byte
            } else {
                break;
            }
        }
        static char skipped[512];                    // at most two bytes for each of 255 characters
        in.ConsumeData(skipped, size_t(at - front)); // only moves the provider past the text
        front = at;
        return text;
    }

private:
    FuzzedDataProvider& in;
    const uint8_t* front;
};

// A file of the scratch folder, written again only when its bytes change: most inputs share
// them with the one before.
class KeptBytes {
public:
    explicit KeptBytes(const QString& relative) : file(relative) {}
    void write(const QByteArray& bytes) {
        if (bytes != last) {
            file.write(bytes);
            last = bytes;
        }
    }

private:
    fuzz::KeptFile file;
    QByteArray last;
};

// The SETI and player groups read files and answers that stay as they are while an input runs.
// Their files are written when a line first asks for the group, and a text they have expanded
// comes out the same for another line, so it is then taken from here: four lines at most, looked
// up among a few without a hash's tables.
class Group {
public:
    Group(std::function<void()> write, std::function<void(QByteArray&)> expand)
        : write(std::move(write)), expand(std::move(expand)) {}
    void operator()(QByteArray& text) {
        for (const auto& [asked, expanded] : done) {
            if (asked == text) {
                text = expanded;
                return;
            }
        }
        if (write) {
            write();
            write = nullptr;
        }
        QByteArray asked = text;
        expand(text);
        done.append({std::move(asked), text});
    }

private:
    std::function<void()> write;
    std::function<void(QByteArray&)> expand;
    QVarLengthArray<std::pair<QByteArray, QByteArray>, kLinesPerPage> done;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QLocale locales[] = {QLocale(QLocale::French, QLocale::France), QLocale::c(),
                                      QLocale(QLocale::English, QLocale::UnitedStates),
                                      QLocale(QLocale::German, QLocale::Germany),
                                      QLocale(QLocale::Arabic, QLocale::Egypt)};
    static const QString root = fuzz::scratchDir();
    static const QByteArray rep = QFile::encodeName(root) + '/';
    static const bool folders = QDir(root).mkpath("Work0") && QDir(root).mkpath("Todo");
    FUZZ_CHECK(folders);
    // The player's playlist names the track whatever the input: written once, it is read on
    // every refresh as the player leaves it.
    static const QByteArray playlist = "#EXTM3U\n#EXTINF:1,t\n" + rep + "track.mp3\n";
    static const QString playlistFile = fuzz::writeFile("winamp.m3u", playlist);

    FuzzedDataProvider in(data, size);
    Texts text(in, data);
    std::array<QByteArray, kLinesPerPage> templates;
    for (QByteArray& t : templates) {
        t = text(255);
    }
    ProfileParams params{text(127), text(127), text(15)};
    QList<QByteArray> adapters;
    for (int i = 0; i < 3; ++i) {
        adapters.append(text(15));
    }
    const QByteArray state = "<state>\nncpus=1\ncpu=1\nbest=2\nprog=" + text(20);
    const QByteArray tag = text(125).leftJustified(125);

    // Any width a settings file can give, down to none, but mostly a panel's own: a line of
    // 30 000 columns costs a hundred times one of 20.
    const qint16 columns = in.ConsumeBool() ? qint16(20 + in.ConsumeIntegral<quint16>())
                                            : in.ConsumeIntegralInRange<qint16>(-2, 80);
    fuzz::PanelRun run(columns, qint16(4 - in.ConsumeIntegralInRange(0, 5)));
    run.params = params;
    run.flags.MbmPresent = !in.ConsumeBool();
    run.flags.HLAvailable = !in.ConsumeBool();
    VariableSources& s = run.sources;
    s.locale = locales[in.ConsumeIntegralInRange<size_t>(0, std::size(locales) - 1)];
    const QDateTime now(QDate(in.ConsumeIntegralInRange(1970, 2100),
                              in.ConsumeIntegralInRange(1, 12), in.ConsumeIntegralInRange(1, 28)),
                        QTime(in.ConsumeIntegralInRange(0, 23), in.ConsumeIntegralInRange(0, 59),
                              in.ConsumeIntegralInRange(0, 59)),
                        Qt::UTC); // only its date and time are shown: no time-zone look-up
    // The sources look at the input's figures where they lie, and the groups are used by reference:
    // a std::function holding more than two pointers' worth would allocate for each input.
    s.now = [&now] { return now; };
    MemoryStatus memory;
    for (qint64* figure :
         {&memory.totalPhys, &memory.availPhys, &memory.totalPageFile, &memory.availPageFile}) {
        *figure = in.ConsumeIntegralInRange<qint64>(0, qint64(1) << 46);
    }
    s.memoryStatus = [&memory] { return memory; };
    std::array<double, 32> readings;
    for (double& r : readings) {
        r = std::bit_cast<double>(in.ConsumeIntegral<quint64>());
    }
    s.mbmValue = [&readings](qint16 index, SensorKind kind) {
        return readings[(index + static_cast<int>(kind) * 11) % readings.size()];
    };
    s.ipAddresses = [&](const QByteArray& separator) {
        return IpAddresses(separator, params.Ip_Local_Ex, [&] { return adapters; });
    };
    const HalfLifeLibrary noLibrary;
    s.halfLifeGroup = [&](QByteArray& t) { HalfLifeGroup(t, noLibrary, s.locale); };
    // The SETI folder, or one that is missing: its variables then show their fallbacks.
    static const QByteArray noSeti = rep + "absent/";
    const QByteArray& setiRep = in.ConsumeBool() ? rep : noSeti;
    static KeptBytes stateFile(QStringLiteral("Work0/state.sah"));
    Group seti([&] { stateFile.write(state); }, [&](QByteArray& t) { SetiGroup(t, setiRep); });
    s.setiGroup = std::ref(seti);
    fuzz::TablePlayer link; // the playlist on disk is the same for every question
    for (const auto& command : {std::pair{IPC_GETOUTPUTTIME, 0},
                                {IPC_GETOUTPUTTIME, 1},
                                {IPC_GETLISTLENGTH, 0},
                                {IPC_GETLISTPOS, 0},
                                {IPC_GETINFO, 0},
                                {IPC_GETINFO, 1}}) {
        link.answer(command.first, command.second, qint32(in.ConsumeIntegral<quint32>()));
    }
    const qint32 entries[] = {0, 1, -1}; // the tag's entry, one past the list, no list
    link.answer(IPC_WRITEPLAYLIST, 0, entries[in.ConsumeIntegralInRange(0, 2)]);
    // The player running, or none: then every variable shows its fallback.
    WinampState winamp{in.ConsumeBool() ? &link : nullptr, {}};
    static KeptBytes trackFile(QStringLiteral("track.mp3"));
    Group player([&] { trackFile.write(QByteArray(1024, '\0') + "TAG" + tag); },
                 [&](QByteArray& t) { WinampGroup(t, winamp, rep, s.locale); });
    s.winampGroup = std::ref(player);

    for (int l = 0; l < kLinesPerPage; ++l) {
        LineRecord& line = run.pages.CurrentLines[l];
        line = freshLine(templates[l], in.ConsumeIntegralInRange<qint16>(-1, 9));
        // Anywhere in its scrolling, as earlier refreshes leave a line, and beyond its end, as
        // they leave one whose values have since grown shorter.
        line.ScrollPos = in.ConsumeIntegralInRange<qint16>(0, 300);
        line.ScrollDir = in.ConsumeBool() ? 1 : 0;
        run.pages.LineTemplate[l] = templates[l];
    }
    run.tick();
    return 0;
}
