#include "sndfileapi.h"

#include "libraryfunction.h"

#include <QLibrary>
#include <optional>

namespace {

struct Loaded {
    QLibrary library{QStringLiteral("sndfile"), 1};
    std::optional<SndfileApi> api;
    QString whyNot;

    Loaded()
    {
        SndfileApi functions;
        if (library.load() && resolveFunction(library, functions.open, "sf_open") &&
            resolveFunction(library, functions.close, "sf_close") &&
            resolveFunction(library, functions.getString, "sf_get_string") &&
            resolveFunction(library, functions.seek, "sf_seek") &&
            resolveFunction(library, functions.readfInt, "sf_readf_int") &&
            resolveFunction(library, functions.readfFloat, "sf_readf_float"))
            api = functions;
        else
            whyNot = QStringLiteral("libsndfile が読み込めません (%1)").arg(library.errorString());
    }
};

} // namespace

const SndfileApi* SndfileApi::get(QString& whyNot)
{
    static const Loaded loaded; // loaded by the first caller, on its thread; the others wait
    if (!loaded.api)
        whyNot = loaded.whyNot;
    return loaded.api ? &*loaded.api : nullptr;
}
