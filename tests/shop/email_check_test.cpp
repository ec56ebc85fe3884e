// Trovecart tests - e-mail addresses.
#include <gtest/gtest.h>

#include "shop/email_check.h"

namespace {

TEST(EmailCheck, AcceptsAddressesOfTheRule) {
    for (const char* text : {"owner@example.com", "first.last@mail.example.org", "\"john smith\"@example.com",
                             "a@b.c", "x-y_z+tag@my-shop.co.uk", "\"a\\\"b\"@ex.com", "o'brien@a-b--c.de"})
        EXPECT_TRUE(IsValidEmail(QString::fromLatin1(text))) << text;
}

TEST(EmailCheck, RefusesEverythingElse) {
    for (const char* text :
         {"", "owner", "owner@example", "owner@1example.com", "owner@exam-.com", "a..b@example.com",
          ".a@example.com", "a.@example.com", "a@example.com.", "a@@example.com", "a b@example.com",
          "a@exa_mple.com", "\"a\rb\"@ex.com", "a@-example.com", "a@example..com", "\"a\"b@ex.com"})
        EXPECT_FALSE(IsValidEmail(QString::fromLatin1(text))) << text;
    EXPECT_FALSE(IsValidEmail(QStringLiteral("ünïcode@exämple.com")));
}

} // namespace
