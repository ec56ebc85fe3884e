// Trovecart tests - the console message service answers questions from its policy or its input.
#include <cstdio>
#include <cstring>

#include <gtest/gtest.h>

#include "common/console_message_service.h"

namespace {

int Ask(TConsoleMessageService::TAnswerPolicy policy, const char* typed, bool withCancel) {
    FILE* input = fmemopen(const_cast<char*>(typed), std::strlen(typed), "r");
    FILE* output = std::fopen("/dev/null", "w");
    TConsoleMessageService service(policy, input, output);
    const int answer = service.AskQuestion(nullptr, "Continue?", withCancel, mkInformation, "Publish", "T");
    std::fclose(input);
    std::fclose(output);
    return answer;
}

TEST(ConsoleMessageService, Answers) {
    using P = TConsoleMessageService::TAnswerPolicy;
    EXPECT_EQ(Ask(P::AlwaysYes, "n\n", false), mrYes);
    EXPECT_EQ(Ask(P::AlwaysNo, "y\n", false), mrNo);
    EXPECT_EQ(Ask(P::Ask, "y\n", false), mrYes);
    EXPECT_EQ(Ask(P::Ask, "maybe\nN\n", false), mrNo);
    EXPECT_EQ(Ask(P::Ask, "c\ny\n", false), mrYes) << "cancel is not offered";
    EXPECT_EQ(Ask(P::Ask, "c\n", true), mrCancel);
    EXPECT_EQ(Ask(P::Ask, "", false), mrNo) << "no input: the safe answer";
    EXPECT_EQ(Ask(P::Ask, "", true), mrCancel);
}

} // namespace
