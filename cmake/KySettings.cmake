# Values left to the builder, gathered in one generated header (generated/ky_build_settings.h).
set(KY_DEMO_SERVER_ADDRESS "192.0.2.10" CACHE STRING "IPv4 literal of the demonstration server")
set(KY_SUPPORT_MAIL_ADDRESS "support@orvella.example" CACHE STRING "Address of the support mailbox")
set(KY_LINK_USER_GUIDE "http://www.orvella.example/client/guide.htm" CACHE STRING "User guide link")
set(KY_LINK_DEMO_SERVER "http://www.orvella.example/client/demo.htm" CACHE STRING "Demonstration server link")
set(KY_LINK_OWN_SERVER "http://www.orvella.example/client/server.htm" CACHE STRING "Own server link")
set(KY_PRODUCT_CODE_EN "{6E0C2B1A-4F3D-4C8B-9A51-2D7E8F904A11}" CACHE STRING "ProductCode of the English client package")
set(KY_UPGRADE_CODE_EN "{3B8F6A2C-91D4-4E07-8C5B-7A2E1D6F0B22}" CACHE STRING "UpgradeCode of the English client package")
set(KY_UPGRADE_CODE_PL "{A4D1E9C7-5B2F-4A86-B3E0-9C7F2D1E6A33}" CACHE STRING "UpgradeCode of the Polish client edition")

set(KY_VERSION_MAJOR 4)
set(KY_VERSION_MINOR 1)
set(KY_VERSION_BUILD 0)
set(KY_VERSION_REVISION 5)
set(KY_VERSION_TEXT "4.1.0.5")

set(KY_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/cmake/ky_build_settings.h.in ${KY_GENERATED_DIR}/ky_build_settings.h @ONLY)
include_directories(${KY_GENERATED_DIR} ${CMAKE_SOURCE_DIR})
