#include "planetarium/ChartServerBackend.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <limits>
#include <string_view>

#include "planetarium/ChartServerProtocol.h"

namespace {

using Clock = TcpConnection::Clock;

constexpr auto kGreetingTimeout = std::chrono::milliseconds(3000);
constexpr auto kQuitTimeout = std::chrono::milliseconds(500);
// A poke answers with no data: a handle that names none, as DDE's TRUE does.
constexpr DataHandle kPokeTaken{std::numeric_limits<std::uint32_t>::max()};

// DDE names compare without regard to case.
bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// Unsolicited status lines of the server begin with '>' and answer nothing.
std::optional<std::string> ReadReply(TcpConnection& connection, Clock::time_point deadline) {
    for (;;) {
        auto line = connection.ReadLine(deadline);
        if (!line || !line->starts_with('>')) {
            return line;
        }
    }
}

}  // namespace

ChartServerBackend::ChartServerBackend() : locate_(FindChartServer) {}

ChartServerBackend::ChartServerBackend(ChartServerAddress address)
    : locate_([address] { return std::optional(address); }) {}

ChartServerBackend::~ChartServerBackend() = default;

unsigned ChartServerBackend::Initialize(std::uint32_t& instance) {
    instance = nextId_++;
    instances_.insert(instance);
    return kOk;
}

bool ChartServerBackend::Uninitialize(std::uint32_t instance) {
    if (instances_.erase(instance) == 0) {
        return false;
    }
    for (auto entry = conversations_.begin(); entry != conversations_.end();) {
        if (entry->second.instance == instance) {
            Close(entry->second);
            entry = conversations_.erase(entry);
        } else {
            ++entry;
        }
    }
    return true;
}

StringHandle ChartServerBackend::CreateStringHandle(std::uint32_t instance,
                                                    const std::string& text) {
    if (!instances_.contains(instance)) {
        return {};
    }
    const std::uint32_t id = nextId_++;
    strings_[id] = text;
    return StringHandle{id};
}

void ChartServerBackend::FreeStringHandle(std::uint32_t /*instance*/, StringHandle text) {
    strings_.erase(text.value);
}

ConversationHandle ChartServerBackend::Connect(std::uint32_t instance, StringHandle service,
                                               StringHandle topic) {
    if (!instances_.contains(instance) || !SameName(TextOf(service), "ciel") ||
        !SameName(TextOf(topic), "DdeSkyChart")) {
        return {};
    }
    const auto address = locate_();
    if (!address) {
        return {};
    }
    auto connection = Open(*address, Clock::now() + kGreetingTimeout);
    if (!connection) {
        return {};
    }
    const std::uint32_t id = nextId_++;
    conversations_[id] = Conversation{instance, *address, std::move(connection)};
    return ConversationHandle{id};
}

bool ChartServerBackend::Disconnect(ConversationHandle conversation) {
    const auto found = conversations_.find(conversation.value);
    if (found == conversations_.end()) {
        return false;
    }
    Close(found->second);
    conversations_.erase(found);
    return true;
}

DataHandle ChartServerBackend::ClientTransaction(const char* data, std::size_t length,
                                                 ConversationHandle conversation, StringHandle item,
                                                 unsigned format, unsigned type,
                                                 unsigned timeoutMs) {
    const auto found = conversations_.find(conversation.value);
    if (found == conversations_.end() || format != kTextFormat ||
        !SameName(TextOf(item), "DdeData")) {
        return {};
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    Conversation& open = found->second;
    if (type == kPoke && data != nullptr) {
        // The server's verdict on a poke is not examined, only that it answered.
        Exchange(open, ToServerCommand(std::string_view(data, length)), deadline);
        return open.connection ? kPokeTaken : DataHandle{};
    }
    if (type == kRequest) {
        if (auto text = RequestChartText(open, deadline)) {
            const std::uint32_t id = nextId_++;
            data_[id] = std::move(*text);
            return DataHandle{id};
        }
    }
    return {};
}

const char* ChartServerBackend::AccessData(DataHandle data) {
    const auto found = data_.find(data.value);
    return found == data_.end() ? nullptr : found->second.c_str();
}

void ChartServerBackend::UnaccessData(DataHandle /*data*/) {}

void ChartServerBackend::FreeDataHandle(DataHandle data) {
    data_.erase(data.value);
}

std::string ChartServerBackend::TextOf(StringHandle handle) const {
    const auto found = strings_.find(handle.value);
    return found == strings_.end() ? std::string() : found->second;
}

std::unique_ptr<TcpConnection> ChartServerBackend::Open(const ChartServerAddress& address,
                                                        Clock::time_point deadline) {
    auto connection = TcpConnection::Connect(address.host, address.port, deadline);
    if (!connection) {
        return nullptr;
    }
    // "OK! id=1 chart=Chart_1"; a full server greets with "Failed! ...".
    const auto greeting = ReadReply(*connection, deadline);
    if (!greeting || !OkPayload(*greeting)) {
        return nullptr;
    }
    return connection;
}

std::optional<std::string> ChartServerBackend::Exchange(Conversation& conversation,
                                                        const std::string& command,
                                                        Clock::time_point deadline) {
    if (!conversation.connection) {
        conversation.connection = Open(conversation.address, deadline);
        if (!conversation.connection) {
            return std::nullopt;
        }
    }
    std::optional<std::string> reply;
    if (conversation.connection->SendAll(command + "\r\n", deadline)) {
        reply = ReadReply(*conversation.connection, deadline);
    }
    if (!reply) {
        // A reply may still be on its way: a later command would take it
        // for its own, so this connection is done.
        conversation.connection.reset();
        return std::nullopt;
    }
    return OkPayload(*reply);
}

std::optional<std::string> ChartServerBackend::RequestChartText(Conversation& conversation,
                                                                Clock::time_point deadline) {
    ChartReplies replies;
    const std::pair<const char*, std::string*> steps[] = {{"GETRA", &replies.ra},
                                                          {"GETDEC", &replies.dec},
                                                          {"GETFOV", &replies.fov},
                                                          {"GETDATE", &replies.date},
                                                          {"GETOBS", &replies.obs}};
    for (const auto& [command, payload] : steps) {
        auto reply = Exchange(conversation, command, deadline);
        if (!reply) {
            return std::nullopt;
        }
        *payload = std::move(*reply);
    }
    return ComposeChartText(replies);
}

void ChartServerBackend::Close(Conversation& conversation) {
    if (conversation.connection) {
        conversation.connection->SendAll("QUIT\r\n", Clock::now() + kQuitTimeout);
        conversation.connection->ShutdownWrite();
        conversation.connection.reset();
    }
}
