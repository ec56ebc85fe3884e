// Trovecart tests - folder names.
#include <gtest/gtest.h>

#include "common/folder_name.h"

TEST(FolderName, RefusesReservedCharactersOnly) {
    EXPECT_TRUE(FolderNameError(QStringLiteral("New Folder")).isEmpty());
    EXPECT_TRUE(FolderNameError(QStringLiteral("ÄÖÜ日本")).isEmpty());
    EXPECT_TRUE(FolderNameError(QStringLiteral("tab\there")).isEmpty());
    for (const char* name : {"a:b", "a/b", "a\\b", "*", "what?", "\"q\"", "<x>", "a|b"})
        EXPECT_EQ(FolderNameError(QString::fromLatin1(name)),
                  "Folder name cannot contain any of the aollowing characters\r\n\\/:*?\"<>|")
            << name;
}
