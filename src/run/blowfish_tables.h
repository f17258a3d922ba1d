// The constant initial tables of the Blowfish cipher.
#pragma once

#include <cstdint>

extern const uint32_t kBlowfishInitialP[18];     // initial P-array
extern const uint32_t kBlowfishInitialS[4][256]; // initial S-boxes S1 to S4
