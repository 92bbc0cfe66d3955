#include "convert/observation_file_name.h"

#include <gtest/gtest.h>

namespace fenmarq {
namespace {

TEST(ObservationFileNameTest, CutsWellFormedPath) {
  const ObservationFileName name = parseObservationFileName("/obs/amd_1min_20160412.62078", '/');
  EXPECT_EQ(name, (ObservationFileName{"amd_1min_20160412.62078", "amd", "1min", "2016", "0412",
                                       "62078", "20160412"}));
}

}  // namespace
}  // namespace fenmarq
