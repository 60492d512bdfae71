#include "waylandoffers.h"

#include "libraryfunction.h"

#include <QGuiApplication>
#include <QLibrary>
#include <cstring>
#include <memory>
#include <wayland-client-core.h>
#include <wayland-client-protocol.h>

namespace {

struct WaylandClient {
    decltype(&wl_display_connect) connect;
    decltype(&wl_display_disconnect) disconnect;
    decltype(&wl_display_roundtrip) roundtrip;
    decltype(&wl_proxy_marshal_flags) marshal;
    decltype(&wl_proxy_add_listener) addListener;
    decltype(&wl_proxy_destroy) destroy;
    decltype(&wl_proxy_get_version) version;
    const wl_interface* registryInterface;

    bool load(QLibrary& library)
    {
        return library.load() && resolveFunction(library, connect, "wl_display_connect") &&
               resolveFunction(library, disconnect, "wl_display_disconnect") &&
               resolveFunction(library, roundtrip, "wl_display_roundtrip") &&
               resolveFunction(library, marshal, "wl_proxy_marshal_flags") &&
               resolveFunction(library, addListener, "wl_proxy_add_listener") &&
               resolveFunction(library, destroy, "wl_proxy_destroy") &&
               resolveFunction(library, version, "wl_proxy_get_version") &&
               (registryInterface = reinterpret_cast<const wl_interface*>(
                    library.resolve("wl_registry_interface"))) != nullptr;
    }
};

void noteGlobal(void* data, wl_registry*, uint32_t, const char* interface, uint32_t)
{
    auto& offers = *static_cast<WaylandOffers*>(data);
    if (std::strcmp(interface, "xdg_activation_v1") == 0)
        offers.activation = true;
    else if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0)
        offers.decorations = true;
}

void forgetGlobal(void*, wl_registry*, uint32_t) {}

} // namespace

std::optional<WaylandOffers> askWaylandCompositor()
{
    if (QGuiApplication::platformName() != u"wayland")
        return std::nullopt;
    QLibrary library(QStringLiteral("wayland-client"), 0);
    WaylandClient client{};
    if (!client.load(library))
        return std::nullopt;
    const auto disconnect = [&client](wl_display* display) { client.disconnect(display); };
    const std::unique_ptr<wl_display, decltype(disconnect)> display(client.connect(nullptr),
                                                                    disconnect);
    if (!display)
        return std::nullopt;
    // wl_display_get_registry, written out: its inline form would tie the program to the library.
    auto* const displayProxy = reinterpret_cast<wl_proxy*>(display.get());
    wl_proxy* const registry =
        client.marshal(displayProxy, WL_DISPLAY_GET_REGISTRY, client.registryInterface,
                       client.version(displayProxy), 0, nullptr);
    if (!registry)
        return std::nullopt;
    static wl_registry_listener listener{noteGlobal, forgetGlobal};
    WaylandOffers offers;
    client.addListener(registry, reinterpret_cast<void (**)()>(&listener), &offers);
    const bool answered = client.roundtrip(display.get()) >= 0;
    client.destroy(registry);
    return answered ? std::optional(offers) : std::nullopt;
}
