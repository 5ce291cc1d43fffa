// The statically linked third-party libraries work inside a Windows program:
// Hunspell loads the system's en_US dictionary through Wine's Z: drive, and
// libcrypto's low-level primitives give the published answers.

// SHA1() and RC4() are deprecated in OpenSSL 3 but are what we call.
#define OPENSSL_SUPPRESS_DEPRECATED

#include <gtest/gtest.h>

#include <hunspell/hunspell.hxx>

#include <openssl/evp.h>
#include <openssl/rc4.h>
#include <openssl/sha.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Wine maps the Linux root file system to drive Z:.
const char* const kAffPath = "Z:\\usr\\share\\hunspell\\en_US.aff";
const char* const kDicPath = "Z:\\usr\\share\\hunspell\\en_US.dic";

std::string Hex(const unsigned char* bytes, size_t n) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < n; ++i) {
    out += digits[bytes[i] >> 4];
    out += digits[bytes[i] & 0x0f];
  }
  return out;
}

bool Readable(const char* path) {
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return false;
  std::fclose(f);
  return true;
}

class HunspellDependency : public ::testing::Test {
 protected:
  void SetUp() override {
    // Without the files Hunspell still constructs and simply knows no words:
    // say so plainly instead of failing on "hello".
    ASSERT_TRUE(Readable(kAffPath)) << kAffPath << " (is hunspell-en-us installed?)";
    ASSERT_TRUE(Readable(kDicPath)) << kDicPath;
  }
};

TEST_F(HunspellDependency, KnowsCorrectWordsAndRejectsMisspellings) {
  Hunspell speller(kAffPath, kDicPath);
  EXPECT_TRUE(speller.spell(std::string("hello")));
  EXPECT_TRUE(speller.spell(std::string("dictionary")));
  EXPECT_FALSE(speller.spell(std::string("helo")));
  EXPECT_FALSE(speller.spell(std::string("dictionnary")));
}

TEST_F(HunspellDependency, SuggestsTheIntendedWord) {
  Hunspell speller(kAffPath, kDicPath);
  const std::vector<std::string> suggestions = speller.suggest("helo");
  EXPECT_NE(std::find(suggestions.begin(), suggestions.end(), "hello"), suggestions.end())
      << "suggestions for \"helo\": " << ::testing::PrintToString(suggestions);
}

TEST_F(HunspellDependency, ReportsTheDictionaryEncoding) {
  Hunspell speller(kAffPath, kDicPath);
  ASSERT_NE(speller.get_dic_encoding(), nullptr);
  EXPECT_STREQ(speller.get_dic_encoding(), "UTF-8");
  EXPECT_EQ(speller.get_dict_encoding(), "UTF-8");
}

TEST(CryptoDependency, Sha1OfKnownMessages) {
  unsigned char digest[SHA_DIGEST_LENGTH];
  const std::string abc = "abc";
  SHA1(reinterpret_cast<const unsigned char*>(abc.data()), abc.size(), digest);
  EXPECT_EQ(Hex(digest, sizeof digest), "a9993e364706816aba3e25717850c26c9cd0d89d");

  const std::string two_blocks = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
  SHA1(reinterpret_cast<const unsigned char*>(two_blocks.data()), two_blocks.size(), digest);
  EXPECT_EQ(Hex(digest, sizeof digest), "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
}

TEST(CryptoDependency, Sha1ThroughEvpUsesTheBuiltInProvider) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  ASSERT_EQ(EVP_Digest("abc", 3, digest, &length, EVP_sha1(), nullptr), 1);
  EXPECT_EQ(Hex(digest, length), "a9993e364706816aba3e25717850c26c9cd0d89d");
}

TEST(CryptoDependency, Rc4KnownVector) {
  const std::string key = "Key";
  const std::string plain = "Plaintext";
  RC4_KEY schedule;
  RC4_set_key(&schedule, static_cast<int>(key.size()), reinterpret_cast<const unsigned char*>(key.data()));
  std::vector<unsigned char> cipher(plain.size());
  RC4(&schedule, plain.size(), reinterpret_cast<const unsigned char*>(plain.data()), cipher.data());
  EXPECT_EQ(Hex(cipher.data(), cipher.size()), "bbf316e8d940af0ad3");
}

TEST(CryptoDependency, Base64EncodeBlock) {
  unsigned char out[16] = {};
  EXPECT_EQ(EVP_EncodeBlock(out, reinterpret_cast<const unsigned char*>("abc"), 3), 4);
  EXPECT_STREQ(reinterpret_cast<const char*>(out), "YWJj");
  EXPECT_EQ(EVP_EncodeBlock(out, reinterpret_cast<const unsigned char*>("ab"), 2), 4);
  EXPECT_STREQ(reinterpret_cast<const char*>(out), "YWI=");
}

}  // namespace
