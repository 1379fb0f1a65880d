#pragma once

// The main window's menu items "&Curva Normal" and "Curva &No Normal": each shows its
// calculator modeless and without owner, at most one of each. Choosing an open one brings it
// to the front unchanged; a closed one opens afresh, keeping the normal-area table it loaded.
void MProbNorm_Click();
void MProbPearson_Click();
