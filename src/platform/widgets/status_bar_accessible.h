#pragma once
// The status bar as assistive technology sees it: a status bar whose panels
// are its children, each with its name, its text as value, its tooltip as
// description and its place on the screen. The bar draws its panels itself,
// so without this a screen reader would find one nameless box.

namespace kalidor {

// Makes Qt's accessibility ask here for every StatusBarWidget; once is enough.
void installStatusBarAccessibility();

}  // namespace kalidor
