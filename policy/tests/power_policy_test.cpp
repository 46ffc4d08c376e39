#include <gtest/gtest.h>

#include "policy/default_schemes.h"
#include "policy/power_policy.h"

namespace tv::powercfg {
namespace {

void put32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint32_t get32(const Bytes& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

PolicyRecords blank() {
    return {Bytes(kUserPolicySize, 0), Bytes(kMachinePolicySize, 0)};
}

TEST(PolicyRecords, FieldsSitAtTheirByteOffsets) {
    PolicyRecords r = blank();
    put32(r.user, 0x38, 1200);  // video AC
    put32(r.user, 0x3C, 300);   // video DC
    put32(r.user, 0x40, 0);     // spindown AC
    put32(r.user, 0x44, 600);   // spindown DC
    put32(r.user, 0x04, 2);     // idle action AC: sleep
    put32(r.user, 0x10, 2);
    put32(r.user, 0x1C, 0);       // standby AC never
    put32(r.user, 0x20, 300);     // standby DC
    r.user[0x26] = 0;             // throttle AC NONE
    r.user[0x27] = 3;             // throttle DC ADAPTIVE
    put32(r.machine, 0x20, 900);  // hibernation DC 15 min after standby
    SchemeSettings s = *decodeSettings(r);
    EXPECT_EQ(s.ac, (SideSettings{1200, 0, 0, 0, 0}));
    EXPECT_EQ(s.dc, (SideSettings{300, 600, 300, 1200, 3}));
}

TEST(PolicyRecords, HibernateActionMeansNoStandby) {
    PolicyRecords r = blank();
    put32(r.user, 0x04, 3);
    put32(r.user, 0x1C, 10800);
    SchemeSettings s = *decodeSettings(r);
    EXPECT_EQ(s.ac.standby, 0u);
    EXPECT_EQ(s.ac.hibernate, 10800u);
}

TEST(PolicyRecords, EncodingKeepsBytesItDoesNotShow) {
    PolicyRecords r = blank();
    for (std::size_t i = 0; i < r.user.size(); ++i) {
        r.user[i] = static_cast<std::uint8_t>(0xA0 + i % 16);
    }
    for (std::size_t i = 0; i < r.machine.size(); ++i) {
        r.machine[i] = static_cast<std::uint8_t>(0x50 + i % 16);
    }
    r.user.push_back(0xEE);  // trailing bytes of a longer record survive too
    SchemeSettings s{{60, 120, 180, 240, 1}, {0, 0, 0, 0, 2}};
    PolicyRecords out = *encodeSettings(s, r);
    EXPECT_EQ(*decodeSettings(out), s);
    for (std::size_t i : {0x00, 0x08, 0x24, 0x28, 0x30, 0x48, 0x4D, 0x50}) {
        EXPECT_EQ(out.user[i], r.user[i]) << i;
    }
    for (std::size_t i : {0x00, 0x04, 0x14, 0x24, 0x28, 0x3F}) {
        EXPECT_EQ(out.machine[i], r.machine[i]) << i;
    }
    EXPECT_EQ(get32(out.user, 0x04), 2u);              // sleep action AC
    EXPECT_EQ(get32(out.machine, 0x1C), 240u - 180u);  // doze after standby AC
}

TEST(PolicyRecords, HibernationOnlyBecomesTheIdleAction) {
    SchemeSettings s{{0, 0, 0, 3600, 0}, {0, 0, 0, 0, 0}};
    PolicyRecords out = *encodeSettings(s, blank());
    EXPECT_EQ(get32(out.user, 0x04), 3u);
    EXPECT_EQ(get32(out.user, 0x1C), 3600u);
    EXPECT_EQ(get32(out.machine, 0x1C), 0u);
    EXPECT_EQ(get32(out.user, 0x10), 0u);  // DC: nothing at all
    EXPECT_EQ(*decodeSettings(out), s);
}

TEST(PolicyRecords, HibernationNotAfterStandbyIsRefused) {
    EXPECT_FALSE(encodeSettings({{0, 0, 600, 600, 0}, {}}, blank()));
    EXPECT_FALSE(encodeSettings({{}, {0, 0, 600, 300, 0}}, blank()));
    EXPECT_TRUE(encodeSettings({{0, 0, 600, 660, 0}, {}}, blank()));
}

TEST(PolicyRecords, ShortRecordsAreMissing) {
    EXPECT_FALSE(decodeSettings({Bytes(79, 0), Bytes(64, 0)}));
    EXPECT_FALSE(decodeSettings({Bytes(80, 0), Bytes(63, 0)}));
    PolicyRecords grown = *encodeSettings({}, {Bytes(3, 9), Bytes()});
    EXPECT_EQ(grown.user.size(), kUserPolicySize);
    EXPECT_EQ(grown.machine.size(), kMachinePolicySize);
    EXPECT_EQ(grown.user[0], 1);  // revision
}

TEST(ThrottlePolicy, NamesBothWays) {
    EXPECT_EQ(throttleName(0), "NONE");
    EXPECT_EQ(throttleName(3), "ADAPTIVE");
    EXPECT_EQ(throttleName(4), "");
    EXPECT_EQ(throttleFromName("degrade"), Throttle::Degrade);
    EXPECT_EQ(throttleFromName("Constant"), Throttle::Constant);
    EXPECT_FALSE(throttleFromName("FAST"));
    EXPECT_FALSE(throttleFromName(""));
}

TEST(DefaultSchemes, RecordsHoldTheTableSettings) {
    for (int n = 0; n < 6; ++n) {
        PolicyRecords r = defaultRecords(n);
        ASSERT_EQ(r.user.size(), kUserPolicySize);
        ASSERT_EQ(r.machine.size(), kMachinePolicySize);
        EXPECT_EQ(*decodeSettings(r), defaultSchemes()[static_cast<std::size_t>(n)].settings);
    }
    EXPECT_EQ(*decodeSettings(defaultRecords(17)), defaultSchemes()[0].settings);
    SchemeSettings portable = defaultSchemes()[1].settings;
    EXPECT_EQ(portable.ac, (SideSettings{900, 1800, 1200, 10800, 3}));
    SchemeSettings maxBattery = defaultSchemes()[5].settings;
    EXPECT_EQ(maxBattery.dc, (SideSettings{60, 180, 120, 0, 2}));
}

}  // namespace
}  // namespace tv::powercfg
