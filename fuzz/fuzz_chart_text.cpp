// Any reply of the planetarium: every chart reader gives a result or throws
// std::invalid_argument, nothing else, and never reads outside the text.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "planetarium/ChartText.h"

namespace {

template <typename Reader>
void Read(Reader reader, const std::string& reply) {
    try {
        reader(reply);
    } catch (const std::invalid_argument&) {
        // A reply too short for the reader: the documented refusal.
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string reply(reinterpret_cast<const char*>(data), size);
    Read(LeerAR, reply);
    Read(LeerDEC, reply);
    Read(LeerLAT, reply);
    Read(LeerLON, reply);
    Read(LeerHora, reply);
    Read(LeerCampo, reply);
    for (const char c : reply) ValorDigito(c);
    return 0;
}
