#include "platform/cipher.h"

#include <sodium.h>

#include <vector>

namespace pnl {

namespace {

constexpr int kBase64Variant = sodium_base64_VARIANT_URLSAFE_NO_PADDING;

// libsodium is set up once; the initialisation of a function-local static is thread-safe.
bool sodiumReady() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

std::vector<unsigned char> deriveKey(const std::string& keyText) {
    std::vector<unsigned char> key(crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
    crypto_generichash(key.data(), key.size(), reinterpret_cast<const unsigned char*>(keyText.data()),
                       keyText.size(), nullptr, 0);
    return key;
}

// The bytes of a sealed text (nonce, cipher text, tag), or nothing when it cannot be one.
std::optional<std::vector<unsigned char>> decodeSealed(const std::string& cipher) {
    // Nonce and tag alone take 40 bytes, 54 characters: anything shorter was never sealed.
    if (!sodiumReady() || cipher.size() < 54)
        return std::nullopt;
    std::vector<unsigned char> sealed(cipher.size());
    std::size_t sealedLength = 0;
    const char* end = nullptr;
    if (sodium_base642bin(sealed.data(), sealed.size(), cipher.data(), cipher.size(), nullptr, &sealedLength,
                          &end, kBase64Variant) != 0 ||
        end != cipher.data() + cipher.size())
        return std::nullopt;
    if (sealedLength <
        crypto_aead_xchacha20poly1305_ietf_NPUBBYTES + crypto_aead_xchacha20poly1305_ietf_ABYTES)
        return std::nullopt;
    sealed.resize(sealedLength);
    return sealed;
}

}  // namespace

std::string cEncryptBound(const std::string& plain, const std::string& key, const std::string& additional) {
    if (!sodiumReady())
        return {};
    auto k = deriveKey(key);
    constexpr std::size_t kNonce = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
    std::vector<unsigned char> sealed(kNonce + plain.size() + crypto_aead_xchacha20poly1305_ietf_ABYTES);
    randombytes_buf(sealed.data(), kNonce);
    unsigned long long sealedLength = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(
        sealed.data() + kNonce, &sealedLength, reinterpret_cast<const unsigned char*>(plain.data()),
        plain.size(), reinterpret_cast<const unsigned char*>(additional.data()), additional.size(), nullptr,
        sealed.data(), k.data());
    sodium_memzero(k.data(), k.size());
    const std::size_t total = kNonce + static_cast<std::size_t>(sealedLength);
    std::string out(sodium_base64_encoded_len(total, kBase64Variant), '\0');
    sodium_bin2base64(out.data(), out.size(), sealed.data(), total, kBase64Variant);
    out.resize(out.size() - 1);  // the terminating NUL that sodium writes
    return out;
}

std::string cEncrypt(const std::string& plain, const std::string& key) {
    return cEncryptBound(plain, key, "");
}

std::optional<std::string> cDecrypt(const std::string& cipher, const std::string& key) {
    return cDecryptBound(cipher, key, "");
}

std::string sealedTag(const std::string& cipher) {
    const auto sealed = decodeSealed(cipher);
    if (!sealed)
        return {};
    return std::string(sealed->end() - crypto_aead_xchacha20poly1305_ietf_ABYTES, sealed->end());
}

SealedText::SealedText(const std::string& cipher, const std::string& key) {
    if (auto decoded = decodeSealed(cipher)) {
        sealed_ = std::move(*decoded);
        static_assert(sizeof key_ == crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
        crypto_generichash(key_.data(), key_.size(), reinterpret_cast<const unsigned char*>(key.data()),
                           key.size(), nullptr, 0);
    }
}

SealedText::SealedText(SealedText&& other) noexcept : sealed_(std::move(other.sealed_)), key_(other.key_) {
    sodium_memzero(other.key_.data(), other.key_.size());
}

SealedText::~SealedText() {
    sodium_memzero(key_.data(), key_.size());
}

std::optional<std::string> SealedText::open(const std::string& additional) const {
    if (sealed_.empty())
        return std::nullopt;
    constexpr std::size_t kNonce = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
    std::string plain(sealed_.size() - kNonce - crypto_aead_xchacha20poly1305_ietf_ABYTES, '\0');
    unsigned long long plainLength = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            reinterpret_cast<unsigned char*>(plain.data()), &plainLength, nullptr, sealed_.data() + kNonce,
            sealed_.size() - kNonce, reinterpret_cast<const unsigned char*>(additional.data()),
            additional.size(), sealed_.data(), key_.data()) != 0)
        return std::nullopt;
    plain.resize(static_cast<std::size_t>(plainLength));
    return plain;
}

std::string SealedText::tag() const {
    if (sealed_.empty())
        return {};
    return std::string(sealed_.end() - crypto_aead_xchacha20poly1305_ietf_ABYTES, sealed_.end());
}

std::optional<std::string> cDecryptBound(const std::string& cipher, const std::string& key,
                                         const std::string& additional) {
    return SealedText(cipher, key).open(additional);
}

}  // namespace pnl
