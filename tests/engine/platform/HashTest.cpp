// SHA-256 against the FIPS 180-4 / NIST example vectors, FNV-1a 64 against the reference values of its authors.
#include <gtest/gtest.h>

#include <string>

#include "engine/core/Exceptions.h"
#include "engine/platform/Fnv1a.h"
#include "engine/platform/Sha256.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

TEST(Sha256, KnownVectors)
{
    const struct {
        std::string Message;
        const char* Digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        // 56 bytes: the length no longer fits the first block's padding.
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqr"
         "stu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sha256Hex(c.Message), c.Digest) << c.Message.size() << " bytes";
        CSha256 pieces; // the same message fed in uneven pieces
        for (std::size_t at = 0, step = 1; at < c.Message.size(); at += step, step = step * 3 % 97 + 1)
            pieces.Update(std::string_view(c.Message).substr(at, step));
        EXPECT_EQ(pieces.FinishHex(), c.Digest) << c.Message.size() << " bytes in pieces";
    }
}

TEST(Sha256, OfFileMatchesOfBytesAndMissingFileThrows)
{
    TempDir dir;
    std::string bytes(200000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    WriteAllText(dir.File("f"), bytes);
    EXPECT_EQ(Sha256HexOfFile(dir.File("f")), Sha256Hex(bytes));
    EXPECT_THROW(Sha256HexOfFile(dir.File("missing")), CFileException);
}

TEST(Fnv1a64, ReferenceValues)
{
    EXPECT_EQ(Fnv1a64(""), 0xcbf29ce484222325ull);
    EXPECT_EQ(Fnv1a64("a"), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(Fnv1a64("foobar"), 0x85944171f73967e8ull);
}
