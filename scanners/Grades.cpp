#include "scanners/Grades.h"

#include <algorithm>

namespace {

constexpr auto Safe = Grade::Safe;
constexpr auto Review = Grade::Review;
constexpr auto Expert = Grade::Expert;

const GradeRow Rows[] = {
    {Category::AppPath, AnyKind, Safe, "Only the shell's look-up of the program by name reads it, and its folder is gone"},
    {Category::Uninstall, AnyKind, Review,
     "The program list shows it; parts of the product the check cannot see may still rely on it"},
    {Category::HelpFile, AnyKind, Safe, "Help viewers read it only to find a help file that is gone"},
    {Category::FileExtension, AnyKind, Review,
     "Explorer keeps the user's choices for the file type in it; the type may be registered again"},
    {Category::FileExtensionReference, AnyKind, Review,
     "Explorer reads the file class to open and show its files; another program may still use the class"},
    {Category::FontFiles, AnyKind, Safe, "Nothing can load a font whose file is gone"},
    {Category::RecentFiles, AnyKind, Safe, "Only the Run dialog's history reads it"},
    {Category::SharedDll, AnyKind, Review,
     "Installers count users of the shared file in it; an uninstaller may still read the count"},
    {Category::SharedFolder, AnyKind, Review, "The server service reads it at start; the folder may come back"},
    {Category::StartupProgram, AnyKind, Review,
     "Windows starts the program at log-on; an updater or installer may still rely on the entry"},
    {Category::ComObject, AnyKind, Review,
     "Programs create the class through it; a program may still ask for the class in a way the check cannot see"},
    {Category::BrowserHelperObject, AnyKind, Review,
     "The browser loads the object through it; its installer may still rely on the entry"},
    {Category::Shortcut, AnyKind, Safe, "A shortcut to nothing opens nothing"},
    {Category::TypeLibrary, AnyKind, Review,
     "Programs and scripts find the library's types through it; another registration may still name the library"},
    {Category::Interface, AnyKind, Review,
     "Windows marshals the interface between processes through it; a program may still ask for it"},
    {Category::ShellExtension, AnyKind, Review,
     "Explorer loads the handler through it; the program that added it may still rely on the entry"},
    {Category::MuiCache, AnyKind, Safe, "The shell only keeps the program's display name in it, and the program is gone"},
    {Category::SoundEvent, AnyKind, Safe, "Windows plays no sound for the event either way; only the file name goes"},
    {Category::CompatibilitySetting, AnyKind, Safe, "Windows reads it only when the program starts, and it is gone"},
    {Category::InstallerFolder, AnyKind, Review,
     "Windows Installer counts the products that use the folder in it; a product may still name the folder"},
    {Category::Service, AnyKind, Expert,
     "Windows starts the service or driver through it; an update may bring its program back, and deleting the "
     "wrong one can keep Windows from starting"},
};

}  // namespace

std::span<const GradeRow> GradeRows() noexcept
{
    return Rows;
}

const GradeRow& GradeOf(Category category, int kind) noexcept
{
    const auto row = std::find_if(std::begin(Rows), std::end(Rows), [&](const GradeRow& candidate) {
        return candidate.category == category && (candidate.kind == kind || candidate.kind == AnyKind);
    });
    // Every category has a row; an unknown one is treated as the most careful grade there is without a mark.
    return row != std::end(Rows) ? *row : Rows[static_cast<size_t>(Category::ComObject)];
}
