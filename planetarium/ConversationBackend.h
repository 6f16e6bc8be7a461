#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A handle in the DDE manner: zero is none, anything else names a live object
// of the back end that issued it.
template <class Tag>
struct DdeHandle {
    std::uint32_t value = 0;
    explicit operator bool() const { return value != 0; }
    friend bool operator==(DdeHandle, DdeHandle) = default;
};

using ConversationHandle = DdeHandle<struct ConversationTag>;
using StringHandle = DdeHandle<struct StringTag>;
using DataHandle = DdeHandle<struct DataTag>;

// The client side of a DDE library, as far as the planetarium link uses it.
// CDDE keeps its order of steps over these operations; a back end brings the
// transport. Texts are 8-bit, in the Windows-1252 code page.
class ConversationBackend {
  public:
    // Codes of the DDE library that the link tells apart.
    static constexpr unsigned kOk = 0;
    static constexpr unsigned kDllUsage = 0x4004;
    static constexpr unsigned kInvalidParameter = 0x4006;
    static constexpr unsigned kSysError = 0x400F;
    static constexpr unsigned kTextFormat = 1;
    static constexpr unsigned kPoke = 0x4090;
    static constexpr unsigned kRequest = 0x20B0;

    virtual ~ConversationBackend() = default;

    // Fills `instance` and returns kOk, or returns one of the error codes.
    virtual unsigned Initialize(std::uint32_t& instance) = 0;
    // False when the instance was not live.
    virtual bool Uninitialize(std::uint32_t instance) = 0;

    virtual StringHandle CreateStringHandle(std::uint32_t instance, const std::string& text) = 0;
    virtual void FreeStringHandle(std::uint32_t instance, StringHandle text) = 0;

    // None when no server answers for the service and topic.
    virtual ConversationHandle Connect(std::uint32_t instance, StringHandle service,
                                       StringHandle topic) = 0;
    // False when the conversation was not open.
    virtual bool Disconnect(ConversationHandle conversation) = 0;

    // `data` holds `length` bytes (for a poke, the text and its terminating
    // zero; none for a request). Gives the reply data of a request, a non-null
    // handle for a poke the server took, none on failure or time-out.
    virtual DataHandle ClientTransaction(const char* data, std::size_t length,
                                         ConversationHandle conversation, StringHandle item,
                                         unsigned format, unsigned type, unsigned timeoutMs) = 0;

    // The zero-terminated text of a data handle, valid until it is freed.
    virtual const char* AccessData(DataHandle data) = 0;
    virtual void UnaccessData(DataHandle data) = 0;
    virtual void FreeDataHandle(DataHandle data) = 0;
};
