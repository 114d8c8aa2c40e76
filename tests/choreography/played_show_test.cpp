// A show of one's own: the built-in show printed and read back plays tick for tick as the
// built-in one; a show whose robots have unequal scripts seeks as it plays, anywhere, also after
// a robot is done; the quiet stretches a seek takes at once are the ticks they skip; the played
// show follows its verbs; and every spelled letter is signalled at the show's end.
#include "choreography/played_show.h"
#include "choreography/semaphore.h"
#include "choreography/show_clock.h"
#include "choreography/show_time.h"
#include "robot/tree_walk.h"
#include "robot/node_matrix.h"
#include "tests/support/long_show.h"
#include "tests/support/start_show.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {


bool sameCompletion(const TimedCompletion& a, const TimedCompletion& b) {
    return a.tick == b.tick && a.completion.robot == b.completion.robot &&
           a.completion.command == b.completion.command;
}

Show startOf(const ShowScripts& scripts) {
    Show show = startShow();
    show.choreography = showChoreography(scripts);
    return show;
}

// One tick of the whole show; its completions appended with their tick.
void playTick(Show& show, std::vector<TimedCompletion>& played) {
    const TickReport report = choreographyTick(show.robots, show.choreography, show.gaits, false);
    for (int k = 0; k < report.completionCount; ++k) {
        played.push_back({show.choreography.ticks, report.completions[k]});
    }
}

TEST(PlayedShow, TheBuiltInShowPrintedAndReadBackPlaysEveryTickAsTheBuiltInOne) {
    const ShowReading reading = readShow("printed", writeShow(builtInShow()));
    ASSERT_TRUE(reading.accepted) << reading.refusal;
    Show builtIn = startShow();
    Show printed = startOf(reading.show);
    std::vector<TimedCompletion> fromBuiltIn, fromPrinted;
    for (int t = 1; t <= 2400; ++t) {
        playTick(builtIn, fromBuiltIn);
        playTick(printed, fromPrinted);
        ASSERT_TRUE(sameMotion(builtIn, printed)) << "tick " << t;
    }
    const ShowHistory whole = wholeShow(printed.choreography);
    ASSERT_EQ(fromPrinted.size(), 8u);
    ASSERT_EQ(whole.completionCount, 8);
    for (std::size_t k = 0; k < fromPrinted.size(); ++k) {
        EXPECT_TRUE(sameCompletion(fromPrinted[k], fromBuiltIn[k])) << k;
        EXPECT_TRUE(sameCompletion(whole.completions[k], fromBuiltIn[k])) << k;
    }
    EXPECT_EQ(showLength(whole), 2366u);
}

// Robots of 64, 1, 17 and 40 commands, with poses that leave the hips anywhere.
ShowScripts unequalShow() {
    ShowScripts scripts = longestRunningShow(true);
    const std::uint32_t counts[ROBOT_COUNT] = {MAX_SHOW_COMMANDS, 1, 17, 40};
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        scripts.commandCount[i] = counts[i];
    }
    return scripts;
}

TEST(PlayedShow, UnequalScriptsSeekToAnyTickAsPlayingThatManyTicks) {
    const ShowScripts scripts = unequalShow();
    const ShowHistory whole = wholeShow(showChoreography(scripts));
    ASSERT_EQ(whole.completionCount, 64 + 1 + 17 + 40);
    const std::uint32_t end = showLength(whole);
    std::vector<std::uint32_t> targets = {0, 1, 2, end / 3, end / 2, end + 1, end + 500};
    for (int k = 0; k < whole.completionCount; ++k) {
        const std::uint32_t t = whole.completions[k].tick;
        targets.insert(targets.end(), {t - 1, t, t + 1});
    }
    std::sort(targets.begin(), targets.end());
    targets.erase(std::unique(targets.begin(), targets.end()), targets.end());

    Show played = startOf(scripts);
    Show runOn = played; // advanced from target to target, as a drag forward runs
    std::vector<TimedCompletion> completions;
    std::size_t runOnSeen = 0;
    for (std::uint32_t target : targets) {
        while (played.choreography.ticks < target) {
            playTick(played, completions);
        }
        Show sought = startOf(scripts);
        const ShowHistory history =
            seekShow(sought.robots, sought.choreography, sought.gaits, target);
        ASSERT_TRUE(sameMotion(sought, played)) << "seek to " << target;
        ASSERT_EQ(history.completionCount, static_cast<int>(completions.size())) << target;
        for (int k = 0; k < history.completionCount; ++k) {
            ASSERT_TRUE(sameCompletion(history.completions[k], completions[k])) << target;
        }
        const ShowHistory passed =
            advanceShow(runOn.robots, runOn.choreography, runOn.gaits, target);
        ASSERT_TRUE(sameMotion(runOn, played)) << "run on to " << target;
        ASSERT_EQ(runOnSeen + static_cast<std::size_t>(passed.completionCount),
                  completions.size());
        runOnSeen = completions.size();
    }
    // Robot 2 (one command) was long done while the others went on.
    EXPECT_EQ(played.choreography.finishedCount[1], 1u);
    EXPECT_EQ(played.choreography.finishedCount[0], MAX_SHOW_COMMANDS);
}

TEST(PlayedShow, CompletionsInOneTickComeInRobotOrder) {
    // Every robot walks to where it stands, then poses as it stands: all finish in ticks 1 and 2.
    ShowScripts scripts{};
    for (int i = 0; i < ROBOT_COUNT; ++i) {
        float* s = scripts.script[i];
        s[0] = static_cast<float>(Walk);
        std::copy(std::begin(ROBOT_START[i]), std::end(ROBOT_START[i]), s + 1);
        s[WALK_LENGTH] = static_cast<float>(Pose);
        std::copy(std::begin(START_ANGLES), std::end(START_ANGLES), s + WALK_LENGTH + 1);
        scripts.commandCount[i] = 2;
    }
    Show show = startOf(scripts);
    const ShowHistory history = seekShow(show.robots, show.choreography, show.gaits, 5);
    const ShowHistory whole = wholeShow(show.choreography);
    ASSERT_EQ(history.completionCount, 8);
    ASSERT_EQ(whole.completionCount, 8);
    for (int k = 0; k < 8; ++k) {
        const TimedCompletion expected = {static_cast<std::uint32_t>(1 + k / 4),
                                          {k % 4, k < 4 ? Walk : Pose}};
        EXPECT_TRUE(sameCompletion(history.completions[k], expected)) << k;
        EXPECT_TRUE(sameCompletion(whole.completions[k], expected)) << k;
    }
}

TEST(PlayedShow, AQuietStretchIsTheTicksItSkipsAndEndsWhereSomethingHappens) {
    const ShowScripts scripts = longestRunningShow(true);
    Show show = startOf(scripts);
    int stretches = 0;
    for (int t = 0; t < 40000; ++t) {
        if (t % 5 == 0) {
            for (int i = 0; i < ROBOT_COUNT; ++i) {
                Show skipped = show, ticked = show;
                const std::uint32_t n = skipQuietTicks(
                    skipped.robots[i], skipped.gaits[i], skipped.choreography, i, UINT32_MAX);
                stretches += n > 0 ? 1 : 0;
                for (std::uint32_t k = 0; k < n; ++k) {
                    ASSERT_EQ(robotTick(ticked.robots[i], ticked.gaits[i], ticked.choreography, i),
                              0)
                        << "a quiet tick finished a command at tick " << t;
                }
                ASSERT_EQ(std::memcmp(&skipped.robots[i], &ticked.robots[i], sizeof(Robot)), 0)
                    << "tick " << t << " robot " << i << ", " << n << " quiet ticks";
                ASSERT_EQ(std::memcmp(&skipped.gaits[i], &ticked.gaits[i], sizeof(GaitState)), 0);
                // The stretch is as long as it can be: the tick after it steps, turns or finishes.
                const Robot before = ticked.robots[i];
                const GaitState gait = ticked.gaits[i];
                const bool finished =
                    robotTick(ticked.robots[i], ticked.gaits[i], ticked.choreography, i) != 0;
                const bool moved = std::memcmp(before.position, ticked.robots[i].position,
                                               sizeof before.position) != 0;
                const bool turned = gait.swing != ticked.gaits[i].swing;
                const bool done = show.choreography.finishedCount[i] ==
                                  show.choreography.commandCount[i];
                ASSERT_TRUE(finished || moved || turned || done)
                    << "tick " << t << " robot " << i << " stopped after " << n;
                ASSERT_EQ(skipQuietTicks(skipped.robots[i], skipped.gaits[i],
                                         skipped.choreography, i, 0),
                          0u);
            }
        }
        std::vector<TimedCompletion> ignored;
        playTick(show, ignored);
    }
    EXPECT_GT(stretches, 1000);
}

TEST(PlayedShow, ACommandOffTheGridEndsTheHistoryOfItsRobotOnly) {
    ShowScripts scripts = unequalShow();
    // Robot 3's third command walks to a point half a unit off its grid.
    float* third = scripts.script[2] + WALK_LENGTH + POSE_LENGTH;
    ASSERT_EQ(third[0], static_cast<float>(Walk));
    third[3] += 0.5f;
    const ShowHistory whole = wholeShow(showChoreography(scripts));
    int perRobot[ROBOT_COUNT] = {};
    for (int k = 0; k < whole.completionCount; ++k) {
        perRobot[whole.completions[k].completion.robot] += 1;
        if (k > 0) {
            const TimedCompletion& a = whole.completions[k - 1];
            const TimedCompletion& b = whole.completions[k];
            EXPECT_TRUE(a.tick < b.tick ||
                        (a.tick == b.tick && a.completion.robot < b.completion.robot))
                << "in the order the ticks report them, at " << k;
        }
    }
    EXPECT_EQ(perRobot[0], 64);
    EXPECT_EQ(perRobot[1], 1);
    EXPECT_EQ(perRobot[2], 2);
    EXPECT_EQ(perRobot[3], 40);

    // Where robot 3 has finished the two commands it can, robot 2 is done.
    std::uint32_t at = 0;
    for (int k = 0; k < whole.completionCount; ++k) {
        at = whole.completions[k].completion.robot == 2 ? whole.completions[k].tick : at;
    }
    Show show = startOf(scripts);
    seekShow(show.robots, show.choreography, show.gaits, at);
    ASSERT_EQ(show.choreography.finishedCount[2], 2u);
    EXPECT_EQ(ticksToFinish(show.robots[2], show.gaits[2], show.choreography, 2), NEVER_FINISHES);
    EXPECT_EQ(ticksToFinish(show.robots[1], show.gaits[1], show.choreography, 1), 0u);
    for (int k = 0; k < whole.completionCount; ++k) {
        const TimedCompletion& next = whole.completions[k];
        if (next.completion.robot == 0 && next.tick > at) {
            EXPECT_EQ(ticksToFinish(show.robots[0], show.gaits[0], show.choreography, 0),
                      next.tick - at);
            break;
        }
    }
}

TEST(PlayedShow, StartingAShowOrATextFollowsItAndARefusalLeavesThePlayedShow) {
    ASSERT_TRUE(playingBuiltInShow());
    EXPECT_EQ(playedShowText(), writeShow(builtInShow()));
    EXPECT_EQ(showLength(showHistory()), 2366u);

    const std::string text = writeShow(unequalShow());
    const ShowReading mine = startShowText("mine", text);
    ASSERT_TRUE(mine.accepted) << mine.refusal;
    EXPECT_FALSE(playingBuiltInShow());
    EXPECT_EQ(playedShowText(), text);
    EXPECT_EQ(choreography.ticks, 0u);
    EXPECT_FALSE(paused);
    EXPECT_EQ(showHistory().completionCount, 64 + 1 + 17 + 40);
    const std::uint32_t end = showLength(showHistory());
    EXPECT_EQ(end, showLength(wholeShow(showChoreography(unequalShow()))));
    seekTo(end);
    EXPECT_EQ(choreography.finishedCount[0], MAX_SHOW_COMMANDS);
    seekTo(500);
    EXPECT_EQ(choreography.ticks, 500u);

    const ShowReading broken = startShowText("broken", "cheerleaders show 1\nrobot 1\nwalk 1\n");
    EXPECT_FALSE(broken.accepted);
    EXPECT_EQ(broken.refusal.rfind("broken:3:", 0), 0u) << broken.refusal;
    EXPECT_EQ(playedShowText(), text);
    EXPECT_EQ(choreography.ticks, 500u);
    EXPECT_EQ(showLength(showHistory()), end);

    startBuiltInShow();
    EXPECT_TRUE(playingBuiltInShow());
    EXPECT_EQ(choreography.ticks, 0u);
    EXPECT_EQ(showLength(showHistory()), 2366u);
}

// The eight directions on the viewer's right (+x) and up (+y) axes, clockwise from down.
constexpr float VIEWER_DIRECTIONS[SEMAPHORE_DIRECTION_COUNT][2] = {
    {0.0f, -1.0f}, {-1.0f, -1.0f}, {-1.0f, 0.0f}, {-1.0f, 1.0f},
    {0.0f, 1.0f},  {1.0f, 1.0f},   {1.0f, 0.0f},  {1.0f, -1.0f},
};

float degreesOff(const glm::mat4& world, int direction) {
    const glm::vec3 along = glm::normalize(glm::vec3(world * glm::vec4(0.0f, 1.0f, 0.0f, 0.0f)));
    const glm::vec3 wanted = glm::normalize(
        glm::vec3(VIEWER_DIRECTIONS[direction][0], VIEWER_DIRECTIONS[direction][1], 0.0f));
    return glm::degrees(std::acos(std::min(1.0f, glm::dot(along, wanted))));
}

TEST(PlayedShow, EverySpelledLetterIsSignalledByItsRobotAtTheShowsEnd) {
    for (const char* word : {"ABCD", "EFGH", "IJKL", "MNOP", "QRST", "UVWX", "YZ"}) {
        ShowScripts spelled{};
        std::string whyNot;
        ASSERT_TRUE(spellShow(word, spelled, whyNot)) << whyNot;
        startShow(spelled);
        seekTo(showLength(showHistory()));
        for (int i = 0; i < ROBOT_COUNT; ++i) {
            const char letter = word[std::min<std::size_t>(static_cast<std::size_t>(i),
                                                           std::strlen(word))];
            const SemaphoreArms arms =
                letter == '\0' ? SemaphoreArms{0, 0} : SEMAPHORE_TABLE[letter - 'A'];
            const Robot& robot = robots[i];
            EXPECT_EQ(robot.position[2], 0.0f) << "robot " << i << " walked in first";
            const glm::mat4 placed = robotPlacement(robot);
            const glm::mat4 torso = placed * glm::make_mat4(robot.nodes[Torso].matrix);
            const glm::mat4 left = torso * glm::make_mat4(robot.nodes[LeftUpperArm].matrix);
            const glm::mat4 right = torso * glm::make_mat4(robot.nodes[RightUpperArm].matrix);
            EXPECT_LT(degreesOff(left, arms.left), 0.25f) << word << " robot " << i;
            EXPECT_LT(degreesOff(right, arms.right), 0.25f) << word << " robot " << i;
            EXPECT_LT(degreesOff(left * glm::make_mat4(robot.nodes[LeftLowerArm].matrix),
                                 arms.left),
                      0.25f)
                << word << " robot " << i;
        }
    }
    startBuiltInShow();
}

} // namespace
