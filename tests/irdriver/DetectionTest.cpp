// Which driver the processor text selects, and the process-wide driver's life.

#include <gtest/gtest.h>

#include <typeinfo>

#include "DriverTesting.h"
#include "irdriver/IrDriverInstance.h"
#include "irdriver/omap/CIrDrvrOMAP1510.h"
#include "irdriver/omap/CIrDrvrOMAP850.h"
#include "irdriver/pxa/CIrDrvrPXA250.h"
#include "irdriver/pxa/CIrDrvrPXA270.h"
#include "irdriver/s3c/CIrDrvrSamsungS3C.h"
#include "irdriver/sa11x0/CIrDrvrSA11XX.h"

namespace irdriver_tests {

namespace {

struct TextCase {
    const char* name;
    std::u16string text;
    IrDriverFamily family;
};

class DetectionTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(DetectionTextTest, FirstKeyFoundDecides) {
    EXPECT_EQ(ProcessorDetection::FromText(GetParam().text), GetParam().family);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DetectionTextTest,
    ::testing::Values(TextCase{"StrongArm", u"StrongARM SA1110", IrDriverFamily::SA11XX},
                      TextCase{"Pxa255AndPxa27", u"XScale PXA255 PXA27", IrDriverFamily::PXA250},
                      TextCase{"Pxa263", u"XScale PXA263", IrDriverFamily::PXA250},
                      TextCase{"Pxa270", u"XScale PXA270", IrDriverFamily::PXA270},
                      TextCase{"Sc32", u"ARM SC32442", IrDriverFamily::SamsungS3C},
                      TextCase{"S3c2410WithArm920", u"ARM920T S3C2410", IrDriverFamily::SamsungS3C},
                      TextCase{"Arm920Alone", u"ARM920T Unknown", IrDriverFamily::OMAP1510},
                      TextCase{"Omap850", u"ARM926EJ-S OMAP850", IrDriverFamily::OMAP850},
                      TextCase{"CaseMatters", u"xscale pxa270", IrDriverFamily::None},
                      TextCase{"Unknown", u"MIPS VR4131", IrDriverFamily::None}),
    [](const auto& row) { return std::string(row.param.name); });

struct ProfileCase {
    std::string profile;
    const std::type_info* driver;
};

void PrintTo(const ProfileCase& c, std::ostream* out) { *out << c.profile; }

class DetectionProfileTest : public DriverTest, public ::testing::WithParamInterface<ProfileCase> {};

TEST_P(DetectionProfileTest, ProfileGetsItsDriverOnceUntilReleased) {
    use_profile(GetParam().profile);
    CIrDrvr* driver = GetIrDriver();
    ASSERT_NE(driver, nullptr);
    EXPECT_EQ(typeid(*driver), *GetParam().driver);
    EXPECT_EQ(GetIrDriver(), driver);
    EXPECT_TRUE(machine().in_session());  // its registers are mapped
    EXPECT_FALSE(driver->portOpen());
    ReleaseIrDriver();
    EXPECT_FALSE(machine().in_session());
    EXPECT_NE(GetIrDriver(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Profiles, DetectionProfileTest,
                         ::testing::Values(ProfileCase{"sa1110", &typeid(CIrDrvrSA11XX)},
                                           ProfileCase{"pxa250", &typeid(CIrDrvrPXA250)},
                                           ProfileCase{"pxa255", &typeid(CIrDrvrPXA250)},
                                           ProfileCase{"pxa26x", &typeid(CIrDrvrPXA250)},
                                           ProfileCase{"pxa270", &typeid(CIrDrvrPXA270)},
                                           ProfileCase{"s3c2410", &typeid(CIrDrvrSamsungS3C)},
                                           ProfileCase{"s3c2440", &typeid(CIrDrvrSamsungS3C)},
                                           ProfileCase{"omap1510", &typeid(CIrDrvrOMAP1510)},
                                           ProfileCase{"omap850", &typeid(CIrDrvrOMAP850)}),
                         [](const auto& row) { return row.param.profile; });

}  // namespace

}  // namespace irdriver_tests
