# Who the program says it is. The addresses are placeholders: a distributor sets the real ones
# when configuring, e.g. cmake -DPORTIQA_HOMEPAGE=https://photos.example.net/ ...
set(PORTIQA_APP_ID "org.example.Portiqa")
set(PORTIQA_HOMEPAGE "https://portiqa.example.org/" CACHE STRING
    "Home page opened by the 主页 button, shown in the about box and the package metadata")
set(PORTIQA_CONTACT "support@portiqa.example.org" CACHE STRING
    "Contact e-mail address shown in the about box and used as the package maintainer")
# The release date the metainfo names for this version.
set(PORTIQA_RELEASE_DATE "2026-12-10")

set(PORTIQA_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/src/core/app/BuildInfo.h.in
               ${PORTIQA_GENERATED_DIR}/core/app/BuildInfo.h @ONLY)
