// What devices answer the search for panels: a serial device's bytes after the Matrix Orbital
// module-type query, and an LCDd server's first line after hello. Each is read, and what it
// gives is put into the candidate's line and settings as the search does.
#include "FuzzSupport.h"
#include "detect/PanelChoice.h"
#include "drivers/LcddProtocol.h"
#include "drivers/MatrixOrbital.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray answer = fuzz::bytesOf(data, size);

    if (const std::optional<MatrixOrbitalType> type = readModuleType(answer)) {
        // One byte, the module's type, and never the query sent back.
        FUZZ_CHECK(answer.size() == 1 && quint8(answer[0]) == type->code);
        Candidate module;
        module.typeLcd = 8;
        module.device = QStringLiteral("/dev/ttyACM0");
        module.speed = kMatrixOrbitalSpeed;
        module.answered = type->model;
        FUZZ_CHECK(describeCandidate(module).startsWith(QStringLiteral("Matrix Orbital")));
    }

    const QByteArray line = answer.left(answer.indexOf('\n'));
    if (const std::optional<LcddSize> lcdd = parseLcddGreeting(line)) {
        FUZZ_CHECK(lcdd->width >= 1 && lcdd->height >= 1);
        FUZZ_CHECK(line.simplified().startsWith("connect "));
        Candidate server;
        server.typeLcd = 4;
        server.device = QStringLiteral("localhost:13666");
        server.columns = lcdd->width;
        server.lines = lcdd->height;
        const std::vector<SettingChange> settings = settingsFor(server);
        FUZZ_CHECK(settings.size() == 4 && settings[2].value == QString::number(lcdd->width));
    }
    return 0;
}
