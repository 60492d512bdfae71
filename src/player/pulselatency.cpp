#include "pulselatency.h"

#include "cdtime.h"
#include "libraryfunction.h"
#include "playerlog.h"

#include <pulse/pulseaudio.h>
#include <unistd.h>

namespace {

constexpr auto kAskEvery = std::chrono::milliseconds(200);

} // namespace

struct PulseLatency::Api {
    decltype(&pa_threaded_mainloop_new) loopNew;
    decltype(&pa_threaded_mainloop_free) loopFree;
    decltype(&pa_threaded_mainloop_start) loopStart;
    decltype(&pa_threaded_mainloop_stop) loopStop;
    decltype(&pa_threaded_mainloop_get_api) loopApi;
    decltype(&pa_threaded_mainloop_lock) lock;
    decltype(&pa_threaded_mainloop_unlock) unlock;
    decltype(&pa_context_new) contextNew;
    decltype(&pa_context_connect) connect;
    decltype(&pa_context_disconnect) disconnect;
    decltype(&pa_context_unref) contextUnref;
    decltype(&pa_context_get_state) state;
    decltype(&pa_context_get_sink_input_info_list) sinkInputs;
    decltype(&pa_operation_unref) operationUnref;
    decltype(&pa_proplist_gets) property;

    bool load(QLibrary& library)
    {
        return library.load() && resolveFunction(library, loopNew, "pa_threaded_mainloop_new") &&
               resolveFunction(library, loopFree, "pa_threaded_mainloop_free") &&
               resolveFunction(library, loopStart, "pa_threaded_mainloop_start") &&
               resolveFunction(library, loopStop, "pa_threaded_mainloop_stop") &&
               resolveFunction(library, loopApi, "pa_threaded_mainloop_get_api") &&
               resolveFunction(library, lock, "pa_threaded_mainloop_lock") &&
               resolveFunction(library, unlock, "pa_threaded_mainloop_unlock") &&
               resolveFunction(library, contextNew, "pa_context_new") &&
               resolveFunction(library, connect, "pa_context_connect") &&
               resolveFunction(library, disconnect, "pa_context_disconnect") &&
               resolveFunction(library, contextUnref, "pa_context_unref") &&
               resolveFunction(library, state, "pa_context_get_state") &&
               resolveFunction(library, sinkInputs, "pa_context_get_sink_input_info_list") &&
               resolveFunction(library, operationUnref, "pa_operation_unref") &&
               resolveFunction(library, property, "pa_proplist_gets");
    }
};

std::unique_ptr<PulseLatency> PulseLatency::start()
{
    auto library = std::make_unique<QLibrary>(QStringLiteral("pulse"), 0);
    auto api = std::make_unique<Api>();
    if (!api->load(*library)) {
        qCInfo(playerLog) << "the sound server's latency is not known:" << library->errorString();
        return nullptr;
    }
    std::unique_ptr<PulseLatency> latency(new PulseLatency(std::move(library), std::move(api)));
    if (!latency->context_)
        return nullptr;
    latency->asking_ = std::jthread([self = latency.get()](std::stop_token stop) {
        while (!stop.stop_requested()) {
            self->ask();
            std::this_thread::sleep_for(kAskEvery);
        }
    });
    return latency;
}

PulseLatency::PulseLatency(std::unique_ptr<QLibrary> library, std::unique_ptr<Api> api)
    : library_(std::move(library)), api_(std::move(api)), loop_(api_->loopNew())
{
    if (!loop_)
        return;
    context_ = api_->contextNew(api_->loopApi(loop_), "Corvanta latency");
    if (context_ && api_->connect(context_, nullptr, PA_CONTEXT_NOFLAGS, nullptr) >= 0 &&
        api_->loopStart(loop_) >= 0)
        return;
    if (context_)
        api_->contextUnref(context_);
    context_ = nullptr;
}

PulseLatency::~PulseLatency()
{
    if (asking_.joinable()) {
        asking_.request_stop();
        asking_.join();
    }
    if (context_) {
        api_->loopStop(loop_);
        api_->disconnect(context_);
        api_->contextUnref(context_);
    }
    if (loop_)
        api_->loopFree(loop_);
}

std::optional<PulseLatency::Reading> PulseLatency::reading() const
{
    const std::lock_guard lock(readingLock_);
    return reading_;
}

void PulseLatency::tell(std::optional<std::int64_t> usec)
{
    const std::lock_guard lock(readingLock_);
    if (!usec)
        reading_.reset();
    else
        reading_ =
            Reading{*usec * cdtime::kSampleRate / 1'000'000, std::chrono::steady_clock::now()};
}

// The streams of this process, the newest of which is the one playing; the answer comes on the
// main loop's thread.
void PulseLatency::ask()
{
    api_->lock(loop_);
    if (api_->state(context_) == PA_CONTEXT_READY) {
        const auto answer = [](pa_context*, const pa_sink_input_info* input, int last,
                               void* userdata) {
            auto* self = static_cast<PulseLatency*>(userdata);
            static const QByteArray pid = QByteArray::number(::getpid());
            if (last) {
                if (self->newest_ < 0)
                    self->tell(std::nullopt);
                self->newest_ = -1;
                return;
            }
            const char* owner =
                self->api_->property(input->proplist, PA_PROP_APPLICATION_PROCESS_ID);
            if (owner && pid == owner && std::int64_t(input->index) > self->newest_) {
                if (!self->reading())
                    qCInfo(playerLog) << "the sound server's latency:"
                                      << (input->buffer_usec + input->sink_usec) / 1000 << "ms";
                self->newest_ = input->index;
                self->tell(std::int64_t(input->buffer_usec + input->sink_usec));
            }
        };
        if (pa_operation* operation = api_->sinkInputs(context_, answer, this))
            api_->operationUnref(operation);
    } else if (api_->state(context_) != PA_CONTEXT_CONNECTING &&
               api_->state(context_) != PA_CONTEXT_AUTHORIZING &&
               api_->state(context_) != PA_CONTEXT_SETTING_NAME) {
        tell(std::nullopt);
    }
    api_->unlock(loop_);
}
