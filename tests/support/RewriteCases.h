// Table-driven checks of operations that rewrite a text in place: each case's input is rewritten and
// compared with its expected text, as UTF-8 so that a failure prints readably.
#pragma once

#include <gtest/gtest.h>

#include <span>

#include "text/Text.h"

namespace scrivano::test {

struct RewriteCase {
  Text input;
  Text expected;
};

template <typename Rewrite>
void ExpectRewrites(std::span<const RewriteCase> cases, Rewrite rewrite) {
  for (const RewriteCase& c : cases) {
    Text work = c.input;
    rewrite(work);
    EXPECT_EQ(ToUtf8(work), ToUtf8(c.expected)) << ToUtf8(c.input);
  }
}

}  // namespace scrivano::test
