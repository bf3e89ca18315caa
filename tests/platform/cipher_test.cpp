#include <gtest/gtest.h>

#include "platform/cipher.h"

namespace pnl {
namespace {

constexpr const char* kKey = "07145226318";

TEST(Cipher, RoundTripsInIniSafeCharactersWithAFreshNonce) {
    for (const std::string& plain :
         {std::string(), std::string("TRUE,123456,P"),
          std::string("09:30:00  Bewohnerdatensatz: Müller, O'Neill; a=b [x]\r\n"), std::string(5000, 'x')}) {
        const std::string sealed = cEncrypt(plain, kKey);
        EXPECT_EQ(
            sealed.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"),
            std::string::npos);
        EXPECT_EQ(cDecrypt(sealed, kKey), plain);
    }
    EXPECT_EQ(cEncrypt("", kKey).size(), 54u);  // nonce and tag
    EXPECT_NE(cEncrypt("TRUE,123456,P", kKey), cEncrypt("TRUE,123456,P", kKey));
}

TEST(Cipher, RefusesTamperedForeignAndGarbageTexts) {
    const std::string sealed = cEncrypt("TRUE,123456,P", kKey);
    EXPECT_FALSE(cDecrypt(sealed, "07145226319"));
    for (std::size_t i = 0; i < sealed.size(); i += 7) {
        std::string tampered = sealed;
        tampered[i] = tampered[i] == 'A' ? 'B' : 'A';
        EXPECT_FALSE(cDecrypt(tampered, kKey)) << "position " << i;
    }
    for (const std::string& garbage : {sealed.substr(0, sealed.size() - 1), sealed + "A", sealed + "\r",
                                       std::string(), std::string("TRUE,123456,P"), std::string("AAAA")})
        EXPECT_FALSE(cDecrypt(garbage, kKey)) << garbage;
}

}  // namespace
}  // namespace pnl
