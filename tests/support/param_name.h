#pragma once

#include <gtest/gtest.h>

#include <string>

namespace zeduzovir::testing {

// Names a parameterised case after its `name` field.
struct ParamName {
  template <typename Case>
  std::string operator()(const ::testing::TestParamInfo<Case>& param) const {
    return param.param.name;
  }
};

}  // namespace zeduzovir::testing
