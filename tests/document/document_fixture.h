// A fresh program state for each test, and a recorder in place of the message boxes.
#pragma once

#include "document/byte_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct ShownMessage {
    std::string caption;
    std::string body;
    bool operator==(const ShownMessage&) const = default;
};

std::vector<ShownMessage>& shownMessages();

// State as right after start-up, then File > New.
void startFresh();

class DocumentTest : public ::testing::Test {
  protected:
    void SetUp() override { startFresh(); }
};

// Little helpers to build document bytes by hand.
Bytes concat(std::initializer_list<Bytes> parts);
Bytes int32Bytes(std::int32_t value);
Bytes doubleBytes(double value);
Bytes textBytes(std::string_view text);
// A fixed part holding nothing but the factory limits, as after a reset.
Bytes plainFixedPart();
// The tag, a body with no memo, no definitions and no variables, then fixedPart.
Bytes documentWith(const Bytes& fixedPart);
