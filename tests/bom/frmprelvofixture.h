#pragma once
// The demo company's program context for driving FrmPrelvo.
#include "bom/frmprelvo.h"
#include "tests/support/reportformfixture.h"

namespace kemtest {

using FrmPrelvoFixture = ReportFormFixture<kem::FrmPrelvo>;

} // namespace kemtest
