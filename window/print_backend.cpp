#include "window/print_backend.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QString>

namespace window {

namespace {

class MissingPrintBackend : public PrintBackend
{
public:
    void submit(const QString &, const QImage &, PrintDone done) override
    {
        done(PrintOutcome::NotInstalled);
    }
};

// The print system's libraries (for CUPS some twenty of them) come with the print module, so
// they cost the first print, not every start. The module stays loaded: its back-ends live there.
CreatePrintBackend *printModuleEntry()
{
    static CreatePrintBackend *const entry = [] {
        QLibrary module(QDir(QCoreApplication::applicationDirPath())
                            .filePath(QStringLiteral(LCTUNE_PRINT_MODULE_DIR "/lctune-print")));
        auto *found =
            reinterpret_cast<CreatePrintBackend *>(module.resolve(createPrintBackendSymbol));
        if (!found)
            qWarning("lctune: no print module: %s", qUtf8Printable(module.errorString()));
        return found;
    }();
    return entry;
}

} // namespace

std::unique_ptr<PrintBackend> systemPrintBackend()
{
    if (CreatePrintBackend *create = printModuleEntry())
        return std::unique_ptr<PrintBackend>(create());
    return std::make_unique<MissingPrintBackend>();
}

} // namespace window
