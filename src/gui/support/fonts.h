#pragma once

#include <QFont>

namespace athup::gui {

// The filing program's windows name the Windows fonts 細明體 and 標楷體; here they map to
// AR PL UMing and AR PL UKai, so the names can be used as they are.
inline constexpr char kMingFamily[] = "細明體";
inline constexpr char kKaiFamily[] = "標楷體";

void installFontSubstitutions();

[[nodiscard]] QFont mingFont(int pixelSize);
[[nodiscard]] QFont kaiFont(int pixelSize);

}  // namespace athup::gui
