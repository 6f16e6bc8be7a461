#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "planetarium/ChartServerAddress.h"
#include "planetarium/ConversationBackend.h"
#include "sys/TcpConnection.h"

// The DDE conversation of service "ciel", topic "DdeSkyChart" over Cartes du
// Ciel's TCP command server. A request of "DdeData" asks the server for the
// chart centre, field, clock and site and composes the chart text; a poke
// sends the text as one command and reads its reply.
class ChartServerBackend : public ConversationBackend {
  public:
    // Looks the server up at every connection (FindChartServer).
    ChartServerBackend();
    explicit ChartServerBackend(ChartServerAddress address);
    ~ChartServerBackend() override;

    unsigned Initialize(std::uint32_t& instance) override;
    bool Uninitialize(std::uint32_t instance) override;
    StringHandle CreateStringHandle(std::uint32_t instance, const std::string& text) override;
    void FreeStringHandle(std::uint32_t instance, StringHandle text) override;
    ConversationHandle Connect(std::uint32_t instance, StringHandle service,
                               StringHandle topic) override;
    bool Disconnect(ConversationHandle conversation) override;
    DataHandle ClientTransaction(const char* data, std::size_t length,
                                 ConversationHandle conversation, StringHandle item,
                                 unsigned format, unsigned type, unsigned timeoutMs) override;
    const char* AccessData(DataHandle data) override;
    void UnaccessData(DataHandle data) override;
    void FreeDataHandle(DataHandle data) override;

  private:
    struct Conversation {
        std::uint32_t instance = 0;
        ChartServerAddress address;
        // Null once the server stopped answering in step; the next
        // transaction opens a fresh connection.
        std::unique_ptr<TcpConnection> connection;
    };

    std::string TextOf(StringHandle handle) const;
    std::unique_ptr<TcpConnection> Open(const ChartServerAddress& address,
                                        TcpConnection::Clock::time_point deadline);
    // The "OK!" payload of the reply to one command; nothing on any other
    // reply, and the connection is dropped when the reply never came.
    std::optional<std::string> Exchange(Conversation& conversation, const std::string& command,
                                        TcpConnection::Clock::time_point deadline);
    std::optional<std::string> RequestChartText(Conversation& conversation,
                                                TcpConnection::Clock::time_point deadline);
    void Close(Conversation& conversation);

    std::function<std::optional<ChartServerAddress>()> locate_;
    std::uint32_t nextId_ = 1;
    std::set<std::uint32_t> instances_;
    std::map<std::uint32_t, std::string> strings_;
    std::map<std::uint32_t, Conversation> conversations_;
    std::map<std::uint32_t, std::string> data_;
};
