#include "sources/media/SessionWatch.h"

#include "platform/SharedLibrary.h"

#include <QCoreApplication>

namespace {

// The module's watch, with the module it came from kept open until the watch is gone.
class LoadedSessionWatch final : public SessionWatch {
public:
    LoadedSessionWatch(SharedLibrary module, std::unique_ptr<SessionWatch> watch)
        : module(std::move(module)), watch(std::move(watch)) {}
    SessionState state() const override { return watch->state(); }

private:
    SharedLibrary module;
    std::unique_ptr<SessionWatch> watch;
};

} // namespace

std::unique_ptr<SessionWatch> loadSessionWatch(const QStringList& moduleCandidates,
                                               const SessionWatchOptions& options,
                                               SessionWatch::Changed changed,
                                               const SessionWatch::Report& report) {
    // Qt D-Bus keeps a thread and global state to the end of the process: its code stays.
    std::optional<SharedLibrary> module = SharedLibrary::open(moduleCandidates, true);
    const auto make =
        module ? reinterpret_cast<SessionWatchFactory>(module->symbol(kSessionWatchFactory))
               : nullptr;
    if (make == nullptr) {
        if (report) {
            report(QCoreApplication::translate(
                       "SessionWatch", "Veille de l'afficheur : module D-Bus introuvable ou "
                                       "illisible (%1) : la session et le lecteur ne sont "
                                       "pas suivis")
                       .arg(moduleCandidates.join(QStringLiteral(", "))));
        }
        return nullptr;
    }
    std::unique_ptr<SessionWatch> watch(make(options, changed, report));
    return std::make_unique<LoadedSessionWatch>(std::move(*module), std::move(watch));
}
