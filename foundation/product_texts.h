#pragma once
// The product's display name and the window titles made from it, by which
// the programs find each other.

#include <QString>

namespace velmora {

inline constexpr char kFallbackProductName[] = "Velmora";

// "PRODUCT_NAME" under "Product Information"; "Velmora" when it is missing
// or blank, so the titles never lose their first word.
QString ReadProductName();
// The main window's caption and application title: name + " Center".
QString CenterTitle();
// The launcher bar's caption: name + " TopBar".
QString TopBarTitle();

} // namespace velmora
