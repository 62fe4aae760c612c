#include "host/wave/WaveSink.h"

#include "host/wave/AlsaSink.h"
#include "host/wave/CaptureSink.h"
#include "host/wave/NullSink.h"

namespace host {

std::unique_ptr<WaveSink> WaveSink::create(AudioBackend backend) {
    switch (backend) {
        case AudioBackend::capture: return std::make_unique<CaptureSink>();
        case AudioBackend::null: return std::make_unique<NullSink>();
        case AudioBackend::alsa: break;
    }
    return std::make_unique<AlsaSink>();
}

}  // namespace host
