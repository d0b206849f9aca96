#include "sha256.h"

#include <gtest/gtest.h>

#include <fstream>

#include "errors.h"
#include "series_files.h"

namespace nimbra {
namespace {

std::string DigestOf(std::string_view bytes) {
  Sha256 digest;
  digest.Add(bytes);
  return digest.Hex();
}

// The examples of FIPS 180-4 and the one-million-letter test of its validation suite.
TEST(Sha256, ValidationValues) {
  EXPECT_EQ(DigestOf(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(DigestOf("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(DigestOf("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(DigestOf(std::string(1000000, 'a')),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

// The digest so far may be read at any point, and the bytes go on.
TEST(Sha256, PiecesGiveTheDigestOfTheWhole) {
  const std::string text(200, 'x');
  for (const std::size_t cut : {1u, 55u, 56u, 63u, 64u, 65u, 128u}) {
    Sha256 digest;
    digest.Add(std::string_view(text).substr(0, cut));
    EXPECT_EQ(digest.Hex(), DigestOf(text.substr(0, cut))) << cut;
    digest.Add(std::string_view(text).substr(cut));
    EXPECT_EQ(digest.Hex(), DigestOf(text)) << cut;
  }
}

using Sha256File = SeriesFiles;

TEST_F(Sha256File, AFileGivesTheDigestOfItsBytes) {
  EXPECT_EQ(Sha256OfFile(Write("abc.txt", "abc")),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(MessageOf([&] { Sha256OfFile((dir / "none.csv").string()); }),
            "{dir}/none.csv: cannot open the file");
}

}  // namespace
}  // namespace nimbra
