// The three profiles against their hand-written tables: every launch, append and pump, in order.
#include "run_model.h"

namespace qelvane::test {
namespace {

class ProfileRun : public ::testing::TestWithParam<const Case*> {};

// Every launch, append and pump and the closing sequence, in order, for each of the
// 16 answer combinations.
TEST_P(ProfileRun, FollowsItsTableForEveryAnswerCombination) {
    for (unsigned bits = 0; bits < 16; ++bits) {
        SCOPED_TRACE(bits);
        EXPECT_EQ(FirstDifference(ProgramRun(*GetParam(), FromBits(bits)), Expected(*GetParam(), FromBits(bits))), "");
    }
}

// The answers change in every pump: each test must take the value it finds when the
// run reaches it, and keep it for the whole arm.
TEST_P(ProfileRun, ReadsEachAnswerWhenTheRunReachesItsTest) {
    for (unsigned bits = 0; bits < 16; ++bits) {
        SCOPED_TRACE(bits);
        const Hook user = [bits](Answers& answers, const Events& events) {
            answers = FromBits(bits + static_cast<unsigned>(Count(events, "pump")));
        };
        const Answers start = FromBits(bits);
        EXPECT_EQ(FirstDifference(ProgramRun(*GetParam(), start, user), Expected(*GetParam(), start, user)), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, ProfileRun, ::testing::Values(&kGuided, &kAutomatic, &kRestore),
                         [](const auto& info) {
                             const std::string file = info.param->file;
                             return file.substr(0, file.find('.'));
                         });

}  // namespace
}  // namespace qelvane::test
