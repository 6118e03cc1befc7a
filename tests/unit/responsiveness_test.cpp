// The responsiveness test's core: the draft's arithmetic, a whole run over a modelled link
// with a fake clock, the server's URLs and configuration, the HTTP reply head, the JSON
// reader, the result store, and the window's consent.
#include <gtest/gtest.h>

#include <deque>

#include "fakes/monitor_fakes.h"
#include "fakes/recording_ui.h"
#include "monitor/http_reply.h"
#include "monitor/rpm_view.h"

namespace zv::monitor::rpm {
namespace {

TEST(RpmMethodTest, TrimmedMeanLeavesOutTheHighestFivePercent) {
    struct Case {
        std::vector<double> samples;
        double mean;
    } cases[] = {
        {{}, 0},
        {{10}, 10},
        {{30, 10, 20}, 20},
        // 20 samples: the highest one (5 %) goes.
        {{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1000}, 1},
        // 19 samples: 5 % rounds down to none.
        {{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 191}, 11},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(TrimmedMean(c.samples), c.mean) << c.samples.size() << " samples";
    }
}

TEST(RpmMethodTest, RoundTripsPerMinuteAndTheirClass) {
    struct Case {
        double ms;
        int rpm;
        const char* grade;
    } cases[] = {
        {0, 0, "Poor"},       {410, 146, "Poor"},      {200.1, 300, "Fair"},    {60, 1000, "Good"},
        {10.5, 5714, "Good"}, {10, 6000, "Excellent"}, {2, 30000, "Excellent"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RoundTripsPerMinute(c.ms), c.rpm) << c.ms << " ms";
        EXPECT_STREQ(GradeText(GradeOf(c.rpm)), c.grade) << c.rpm << " RPM";
    }
}

TEST(RpmMethodTest, ForeignProbeWeighsEachHandshakeAndTheRequestAlike) {
    Latencies ms{30, 60, 120};
    EXPECT_DOUBLE_EQ(ms.RoundTripMs(true), 70) << "TCP, TLS and request: a third each";
    EXPECT_DOUBLE_EQ(ms.RoundTripMs(false), 75) << "TCP and request: half each";
}

TEST(RpmMethodTest, StableOnlyWhenFourFullAveragesAgreeWithinFivePercent) {
    struct Case {
        const char* name;
        std::vector<double> figures;
        bool stable;
    } cases[] = {
        {"too few intervals for four full averages", {10, 10, 10, 10, 10, 10}, false},
        {"seven equal intervals", {10, 10, 10, 10, 10, 10, 10}, true},
        {"still ramping", {1, 2, 4, 8, 10, 10, 10}, false},
        {"ramped, then steady", {1, 2, 4, 8, 10, 10, 10, 10, 10, 10, 10}, true},
        {"swinging by a fifth", {10, 12, 8, 10, 14, 6, 10, 15, 5, 10}, false},
        {"nothing moved", {0, 0, 0, 0, 0, 0, 0}, false},
    };
    for (const Case& c : cases) {
        Stability stability;
        for (double figure : c.figures) {
            stability.Add(figure);
        }
        EXPECT_EQ(stability.Stable(), c.stable) << c.name << ", average " << stability.Average();
    }
}

// A link of `rate_bps` that `saturating` connections fill, whose queue adds `added_ms` once
// `filling` connections load it, stepped every 100 ms: the driver the real program's worker
// thread is, over a model.
struct ModelledRun {
    double rate_bps = 10e6;
    double base_ms = 2;
    double added_ms = 400;
    int saturating = 2;
    int filling = 2;
    bool answers = true;
    double swing = 0;  // the goodput of each second of three: 1 + swing, 1, 1 - swing
    RunPlan plan;

    struct Pending {
        int64_t due;
        ProbeSample sample;
    };

    // A run of `plan` driven to its end.
    RunFigures Drive() {
        TestRun run(plan);
        return Drive(run);
    }

    RunFigures Drive(TestRun& run, int64_t stop_after_ms = 1000000) {
        std::deque<Pending> pending;
        int64_t bytes = 0;
        Phase phase = Phase::Idle;
        for (int64_t now = 0; now < stop_after_ms && run.CurrentPhase() != Phase::Done;
             now += 100) {
            while (!pending.empty() && pending.front().due <= now) {
                run.ProbeFinished(pending.front().sample);
                pending.pop_front();
            }
            Orders orders = run.Step(now, bytes);
            if (orders.phase != phase) {
                phase = orders.phase;
                bytes = 0;
            }
            auto share = [&orders](int of) {
                return std::min(1.0, orders.load_connections / static_cast<double>(of));
            };
            double second = 1 + swing * static_cast<double>(1 - now / 1000 % 3);
            bytes += static_cast<int64_t>(rate_bps * share(saturating) * second / 80);
            double ms = base_ms + (orders.phase == Phase::Idle ? 0 : added_ms * share(filling));
            for (int i = 0; i < orders.start_probes; ++i) {
                pending.push_back(
                    {now + static_cast<int64_t>(2 * ms) + 1, {orders.phase, answers, {ms, 0, ms}}});
            }
        }
        return run.Figures();
    }
};

// The queue keeps filling as flows join after the goodput is stable, as a drop-tail queue
// of Reno flows does: the load grows until the round trips settle too.
TEST(RpmRunTest, BloatedLinkGivesPoorWithTheQueuesDelayAdded) {
    ModelledRun link;
    link.filling = 10;
    link.plan.phase_limit_ms = 20000;
    RunFigures f = link.Drive();
    EXPECT_EQ(f.idle_samples, 10);
    EXPECT_DOUBLE_EQ(f.IdleMs(), 2);
    EXPECT_NEAR(f.AddedMs(), 400, 20) << "loaded " << f.LoadedMs();
    EXPECT_STREQ(GradeText(GradeOf(f.Rpm())), "Poor") << f.Rpm();
    EXPECT_NEAR(f.down.goodput_bps, 10e6, 1e5);
    EXPECT_NEAR(f.up.goodput_bps, 10e6, 1e5);
    EXPECT_TRUE(f.Confident()) << "down " << f.down.stable << ", up " << f.up.stable;
    EXPECT_GE(f.down.connections, link.filling);
    EXPECT_LE(f.down.connections, link.plan.max_connections);
    EXPECT_GT(f.down.samples, 10);
}

TEST(RpmRunTest, ManagedLinkGivesGoodOrBetter) {
    ModelledRun link;
    link.added_ms = 10;
    RunFigures f = link.Drive();
    EXPECT_NEAR(f.AddedMs(), 10, 2);
    EXPECT_GE(f.Rpm(), 1000);
}

TEST(RpmRunTest, LinkThatNeverSettlesEndsAtTheLimitWithLowConfidence) {
    ModelledRun link;
    link.swing = 0.5;
    link.plan.max_connections = 8;
    RunFigures f = link.Drive();
    EXPECT_FALSE(f.Confident());
    EXPECT_EQ(f.down.connections, link.plan.max_connections);
}

TEST(RpmRunTest, DataCapEndsEachDirection) {
    ModelledRun link;
    link.saturating = 1;
    link.plan.cap_bytes = 2'000'000;
    RunFigures f = link.Drive();
    EXPECT_TRUE(f.down.capped);
    EXPECT_TRUE(f.up.capped);
    EXPECT_LT(f.down.bytes, 2'000'000 + 200'000);
}

TEST(RpmRunTest, ServerThatNeverAnswersIsUnreachable) {
    ModelledRun link;
    link.answers = false;
    TestRun run(link.plan);
    RunFigures f = link.Drive(run);
    EXPECT_TRUE(run.Unreachable());
    EXPECT_EQ(f.idle_failed, 10);
    EXPECT_EQ(f.down.connections, 0);
}

TEST(RpmServerTest, UrlsTheUserTypes) {
    struct Case {
        const char* text;
        const char* small;  // the small download's host, port and path; "" when refused
    } cases[] = {
        {"http://10.19.3.2", "10.19.3.2:80/small"},
        {" HTTP://nq.example.net:8080/base/ ", "nq.example.net:8080/base/small"},
        {"https://nq.example.net", "nq.example.net:443/small"},
        {"http://[fd00::2]:81/x", "fd00::2:81/x/small"},
        {"http://nq.example.net/.well-known/nq", "config"},
        {"", ""},
        {"ftp://nq.example.net", ""},
        {"http://user@nq.example.net", ""},
        {"http://nq.example.net:0", ""},
        {"http://nq.example.net:65536", ""},
        {"http://nq.exa mple.net", ""},
        {"http://nq.example.net/#top", ""},
        {"http://[fd00::2", ""},
        {"http://", ""},
    };
    for (const Case& c : cases) {
        ServerChoice choice = ChooseServer(c.text);
        std::string seen = choice.config ? "config"
                           : choice.urls ? choice.urls->small.host + ":" +
                                               std::to_string(choice.urls->small.port) +
                                               choice.urls->small.path
                                         : "";
        EXPECT_EQ(seen, c.small) << c.text << ": " << choice.problem;
        EXPECT_EQ(choice.problem.empty(), seen != "") << c.text;
    }
}

TEST(RpmServerTest, ConfigurationNamesTheThreeUrls) {
    const std::string urls =
        R"("small_download_url": "http://h/s", "large_download_url": "http://h/l", "upload_url": "http://h/u")";
    struct Case {
        std::string json;
        const char* upload;  // "" when refused
    } cases[] = {
        {R"({"version": 1, "urls": {)" + urls + "}}", "/u"},
        {R"({"version": 1, "urls": {)" + urls +
             R"(, "https_upload_url": "https://h/tls"}, "test_endpoint": "x"})",
         "/u"},
        {R"({"version": 1, "urls": {"small_https_download_url": "https://h/s", )"
         R"("large_https_download_url": "https://h/l", "https_upload_url": "https://h/tls"}})",
         "/tls"},
        {R"({"version": 2, "urls": {)" + urls + "}}", ""},
        {R"({"version": 1, "urls": {"small_download_url": "http://h/s"}})", ""},
        {R"({"version": 1, "urls": {)" + urls + "},}", ""},
        {R"({"version": 1, "urls": {"small_download_url": "gopher://h/s", "large_download_url": "http://h/l", "upload_url": "http://h/u"}})",
         ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        ConfigAnswer answer = ReadConfig(c.json);
        EXPECT_EQ(answer.urls ? answer.urls->upload.path : "", c.upload) << c.json;
        EXPECT_EQ(answer.problem.empty(), answer.urls.has_value()) << c.json;
    }
}

TEST(HttpReplyTest, RequestsNameTheHostAndLength) {
    Url url = *ParseUrl("http://[fd00::2]:8080/upload");
    EXPECT_EQ(GetRequest(url),
              "GET /upload HTTP/1.1\r\nHost: [fd00::2]:8080\r\nUser-Agent: Vigilo\r\nAccept: "
              "*/*\r\n\r\n");
    EXPECT_NE(UploadRequest(url, 250000000).find("\r\nContent-Length: 250000000\r\n\r\n"),
              std::string::npos);
}

TEST(HttpReplyTest, HeadsAsServersSendThem) {
    struct Case {
        const char* received;
        HeadState state;
        int status;
        int64_t length;  // -1 when none
        bool closes;
    } cases[] = {
        {"HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nx", HeadState::Complete, 200, 1, false},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n",
         HeadState::Complete, 200, -1, true},
        {"HTTP/1.0 404 Not Found\r\n\r\n", HeadState::Complete, 404, -1, true},
        {"HTTP/1.1 204\r\n\r\n", HeadState::Complete, 204, -1, false},
        {"HTTP/1.1 200 OK\r\nContent-Le", HeadState::Incomplete, 0, -1, false},
        {"SSH-2.0-OpenSSH\r\n\r\n", HeadState::Malformed, 0, -1, false},
        {"HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\n", HeadState::Malformed,
         0, -1, false},
        {"HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n", HeadState::Malformed, 0, -1, false},
        {"HTTP/1.1 200 OK\r\nBad Header: x\r\n\r\n", HeadState::Malformed, 0, -1, false},
        {"HTTP/1.1 2x0 OK\r\n\r\n", HeadState::Malformed, 0, -1, false},
    };
    for (const Case& c : cases) {
        ReplyHead head;
        HeadState state = ReadReplyHead(c.received, head);
        EXPECT_EQ(state, c.state) << c.received;
        if (state == HeadState::Complete) {
            EXPECT_EQ(head.status, c.status) << c.received;
            EXPECT_EQ(head.content_length.value_or(-1), c.length) << c.received;
            EXPECT_EQ(head.closes, c.closes) << c.received;
        }
    }
    ReplyHead head;
    EXPECT_EQ(ReadReplyHead(std::string(kMaxHeadBytes, 'x'), head), HeadState::Malformed);
}

TEST(JsonTextTest, StrictReading) {
    struct Case {
        const char* text;
        const char* written;  // "" when refused
    } cases[] = {
        {R"( {"a": [1, -2.5e1, true, null], "b": "x\"\u00e9\ud83d\ude00"} )",
         "{\"a\":[1,-25,true,null],\"b\":\"x\\\"\xc3\xa9\xf0\x9f\x98\x80\"}"},
        {"0", "0"},
        {"{\"a\": 1, \"a\": 2}", ""},
        {"[1,]", ""},
        {"01", ""},
        {"1.", ""},
        {"NaN", ""},
        {"1e999", ""},
        {"\"\\ud800\"", ""},
        {"\"tab\there\"", ""},
        {"// no\n1", ""},
        {"[[[[[[[[[[[[[[[[[[1]]]]]]]]]]]]]]]]]]", ""},
        {"1 2", ""},
    };
    for (const Case& c : cases) {
        std::optional<json::Value> value = json::Parse(c.text);
        EXPECT_EQ(value ? json::Write(*value) : "", c.written) << c.text;
    }
}

TestResult SampleResult(int n) {
    TestResult result;
    result.when = "2026-12-08T16:40:0" + std::to_string(n % 10) + "+01:00";
    result.endpoint = "http://10.19.3.2/large";
    result.transport = "TCP";
    result.ip_family = "IPv4";
    result.outcome = "done";
    RunFigures& f = result.figures;
    f.idle = {2, 0, 2};
    f.idle_samples = 10;
    f.loaded = {405, 0, 415.0 + n};
    f.down = {9.6e6, 3, true, false, 12000000, {400, 0, 410}, 30, 0};
    f.up = {9.5e6, 2, false, true, 11000000, {410, 0, 420}, 28, 1};
    return result;
}

TEST(RpmResultTest, StoreKeepsTheNewestTwentyAndReadsThemBack) {
    std::vector<TestResult> results;
    for (int n = 0; n < 25; ++n) {
        results.push_back(SampleResult(n));
    }
    std::vector<TestResult> read = ReadResults(WriteResults(results));
    ASSERT_EQ(read.size(), kResultsKept);
    EXPECT_EQ(json::Write(ResultJson(read.back())), json::Write(ResultJson(results.back())));
    EXPECT_EQ(read.front().figures.loaded.request_ms, 420);
    std::string text = json::Write(ResultJson(read.back()));
    for (const char* expected :
         {"\"method\":\"draft-ietf-ippm-responsiveness-08\"", "\"variant\":\"HTTP/1.1 over TCP\"",
          "\"rpm\":142", "\"grade\":\"Poor\"", "\"confidence\":\"low\""}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in " << text;
    }
}

TEST(RpmResultTest, DamagedFilesAndEntriesAreLeftOut) {
    std::string one = json::Write(ResultJson(SampleResult(1)));
    std::string bad = one;
    bad.replace(bad.find("\"samples\":30"), 12, "\"samples\":-3");
    struct Case {
        std::string file;
        size_t kept;
    } cases[] = {
        {"{\"results\": [" + one + "," + bad + "," + one + "]}", 2},
        {"{\"results\": [" + one + ", 7]}", 1},
        {"{\"results\": {}}", 0},
        {"not json", 0},
        {"", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadResults(c.file).size(), c.kept) << c.file.substr(0, 60);
    }
}

TEST(RpmResultTest, TextsTellTheClassAndTheAddedLatency) {
    TestResult result = SampleResult(5);
    EXPECT_EQ(ResultLine(result),
              "Responsiveness: Poor (145 RPM), +411 ms when busy, 2026-12-08 16:40");
    std::string text = ResultText(result);
    for (const char* expected :
         {"Poor (145 RPM), confidence low", "Idle latency 2 ms",
          "Download: 9.6 Mbit/s on 3 connections", "data cap reached", "HTTP/1.1 over TCP, IPv4"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in " << text;
    }
}

}  // namespace
}  // namespace zv::monitor::rpm

namespace zv::monitor {
namespace {

struct FakeTester : RpmTesterPort, RpmWindowPort {
    std::vector<RpmRequest> started;
    int cancels = 0;
    NetworkCost cost = NetworkCost::Unmetered;
    std::string copied;
    int progress = -1;
    void Start(const RpmRequest& request) override { started.push_back(request); }
    void Cancel() override { ++cancels; }
    void ShowProgress(int percent) override { progress = percent; }
    void CopyText(const std::string& text) override { copied = text; }
    NetworkCost Cost() override { return cost; }
    void Close() override {}
};

TEST(RpmViewTest, StartsOnlyWithConsentAndAsksAgainWhenTheCostIsNotFree) {
    using A = ui::MessageAnswer;
    struct Case {
        const char* name;
        NetworkCost cost;
        std::deque<A> answers;
        size_t questions;
        bool started;
    } cases[] = {
        {"unmetered, yes", NetworkCost::Unmetered, {A::Yes}, 1, true},
        {"unmetered, no", NetworkCost::Unmetered, {A::No}, 1, false},
        {"metered, yes twice", NetworkCost::Metered, {A::Yes, A::Yes}, 2, true},
        {"metered, then no", NetworkCost::Metered, {A::Yes, A::No}, 2, false},
        {"cost unknown, then no", NetworkCost::Unknown, {A::Yes, A::No}, 2, false},
    };
    for (const Case& c : cases) {
        testing::MemoryOptions options;
        options.values[kRpmCapOption] = 100;
        testing::RecordingMessageBox messages;
        messages.answers = c.answers;
        FakeTester tester;
        tester.cost = c.cost;
        RpmView view({options, messages, tester, tester}, std::nullopt);
        view.fldServer.box.SetText("http://10.19.3.2");
        view.cmdStart.Click();
        ASSERT_EQ(messages.shown.size(), c.questions) << c.name;
        EXPECT_NE(messages.shown[0].text.find("up to 100 MB each way (200 MB in all)"),
                  std::string::npos)
            << messages.shown[0].text;
        EXPECT_EQ(tester.started.size(), c.started ? 1u : 0u) << c.name;
        EXPECT_EQ(view.Running(), c.started) << c.name;
        EXPECT_EQ(options.texts.count(kRpmServerOption), c.started ? 1u : 0u) << c.name;
        if (c.started) {
            EXPECT_EQ(tester.started[0].plan.cap_bytes, 100'000'000) << c.name;
        }
    }
}

TEST(RpmViewTest, CostHintsAsWindowsDocumentsThem) {
    struct Case {
        CostHint hint;
        NetworkCost cost;
    } cases[] = {
        {{0, false, false, false}, NetworkCost::Unknown},
        {{1, false, false, false}, NetworkCost::Unmetered},
        {{1, true, false, false}, NetworkCost::Metered},
        {{1, false, false, true}, NetworkCost::Metered},
        {{2, false, false, false}, NetworkCost::Metered},
        {{3, false, false, false}, NetworkCost::Metered},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CostOfHint(c.hint), c.cost)
            << "cost " << c.hint.cost << ", limit " << c.hint.approaching_limit << ", roaming "
            << c.hint.roaming;
    }
}

TEST(RpmViewTest, ResultIsShownAndCopiedAndAFailureTold) {
    testing::MemoryOptions options;
    options.texts[kRpmServerOption] = "http://bad host";
    testing::RecordingMessageBox messages;
    FakeTester tester;
    RpmView view({options, messages, tester, tester}, std::nullopt);
    EXPECT_FALSE(view.cmdCopy.enabled());
    view.cmdStart.Click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("is no http or https address"), std::string::npos);
    EXPECT_TRUE(tester.started.empty());

    view.Finished({std::nullopt, "The server did not answer."});
    EXPECT_EQ(view.lblStatus.caption(), "The server did not answer.");
    rpm::TestResult result;
    result.transport = "TCP";
    view.Finished({result, ""});
    EXPECT_NE(view.lblResult.caption().find("HTTP/1.1 over TCP"), std::string::npos);
    EXPECT_EQ(tester.progress, 100);
    view.cmdCopy.Click();
    EXPECT_NE(tester.copied.find("\"variant\":\"HTTP/1.1 over TCP\""), std::string::npos)
        << tester.copied;
    view.cmdClose.Click();
    EXPECT_EQ(tester.cancels, 0) << "nothing runs, nothing to cancel";
}

}  // namespace
}  // namespace zv::monitor
