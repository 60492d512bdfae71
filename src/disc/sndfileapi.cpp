#include "sndfileapi.h"

#include <QLibrary>
#include <optional>

namespace {

template <typename Function> bool resolve(QLibrary& library, Function& function, const char* name)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

struct Loaded {
    QLibrary library{QStringLiteral("sndfile"), 1};
    std::optional<SndfileApi> api;
    QString whyNot;

    Loaded()
    {
        SndfileApi functions;
        if (library.load() && resolve(library, functions.open, "sf_open") &&
            resolve(library, functions.close, "sf_close") &&
            resolve(library, functions.getString, "sf_get_string") &&
            resolve(library, functions.seek, "sf_seek") &&
            resolve(library, functions.readfInt, "sf_readf_int") &&
            resolve(library, functions.readfFloat, "sf_readf_float"))
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
