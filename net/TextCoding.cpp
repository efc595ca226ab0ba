#include "net/TextCoding.h"

#include <openssl/evp.h>

#include <utility>

namespace net {

std::string Utf8ToLatin1(std::string_view utf8)
{
    std::string latin1;
    latin1.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = 1;
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        if (length == 2 && i + 1 < utf8.size() && lead <= 0xC3)
            latin1 += static_cast<char>(((lead & 0x03) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
        else if (length == 1)
            latin1 += static_cast<char>(lead);
        else
            latin1 += '?';
        i += length;
    }
    return latin1;
}

std::string Base64Encode(std::string_view bytes)
{
    std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int written =
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()),
                        reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
    text.resize(static_cast<std::size_t>(written));
    return text;
}

bool Base64Decode(std::string_view text, std::string& bytes)
{
    // OpenSSL skips surrounding blanks and counts the padding as zero bytes: neither is ours.
    if (text.size() % 4 != 0) return false;
    for (const char c : text)
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') return false;
    std::size_t padding = 0;
    if (!text.empty() && text.back() == '=') ++padding;
    if (text.size() > 1 && text[text.size() - 2] == '=') ++padding;
    if (text.substr(0, text.size() - padding).find('=') != std::string_view::npos) return false;
    std::string decoded(text.size() / 4 * 3, '\0');
    const int length =
        EVP_DecodeBlock(reinterpret_cast<unsigned char*>(decoded.data()),
                        reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
    if (length < 0) return false;
    decoded.resize(static_cast<std::size_t>(length) - padding);
    bytes = std::move(decoded);
    return true;
}

}  // namespace net
