#pragma once
// The cipher of the level records and the log lines: XChaCha20-Poly1305 with a key derived from the key text.
// The format is written up in docs/cipher.md for other programs that read these files.

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace pnl {

// Returns URL-safe base64 (no padding) of a fresh random nonce followed by the sealed text; never holds a
// line break or a character that a settings value cannot carry.
std::string cEncrypt(const std::string& plain, const std::string& key);

// Returns the plain text, or nothing when the text was not sealed with this key or was altered.
std::optional<std::string> cDecrypt(const std::string& cipher, const std::string& key);

// The same, with additional data that the seal authenticates but does not carry: opening needs exactly the
// same bytes (empty additional data is the plain form above).
std::string cEncryptBound(const std::string& plain, const std::string& key, const std::string& additional);
std::optional<std::string> cDecryptBound(const std::string& cipher, const std::string& key,
                                         const std::string& additional);

// A sealed text decoded once, with its key derived once, for a reader that tries it with many additional data
// in turn (the log reader looking for a line's place).
class SealedText {
  public:
    SealedText(const std::string& cipher, const std::string& key);
    ~SealedText();
    SealedText(const SealedText&) = delete;
    SealedText& operator=(const SealedText&) = delete;
    SealedText(SealedText&& other) noexcept;
    SealedText& operator=(SealedText&&) = delete;

    // As cDecryptBound: nothing when this additional data does not open it.
    std::optional<std::string> open(const std::string& additional) const;
    // As sealedTag.
    std::string tag() const;

  private:
    std::vector<unsigned char> sealed_;  // nonce, cipher text and tag; empty when the text is no sealed text
    std::array<unsigned char, 32> key_{};
};

// The 16-byte authentication tag at the end of a sealed text; empty when the text is no sealed text.
std::string sealedTag(const std::string& cipher);

}  // namespace pnl
