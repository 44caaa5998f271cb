#pragma once
// Template and control identifiers shared by the resource script and the window layer.
#define IDD_MAIN 101
#define IDD_LANGUAGE 102
#define IDD_CONNECTION_TYPE 103
#define IDD_NETWORK 104
#define IDD_USB 105
#define IDD_PARALLEL 106
#define IDD_SERIAL 107

#define IDC_PREV 1001
#define IDC_NEXT 1002
#define IDC_TITLE 1004
#define IDC_PAGE_AREA 1005
#define IDC_CHINESE 1006
#define IDC_ENGLISH 1007
#define IDC_TYPE_NETWORK 1008
#define IDC_TYPE_USB 1009
#define IDC_TYPE_SERIAL 1010
#define IDC_TYPE_PARALLEL 1011
#define IDC_IP_ADDRESS 1012
#define IDC_USB_COMBO 1013
#define IDC_SERIAL_COMBO 1014
#define IDC_PARALLEL_COMBO 1018
#define IDC_SERIAL_LABEL 1019
#define IDC_NETWORK_LABEL 1020
#define IDC_PARALLEL_LABEL 1021
#define IDC_USB_LABEL 1022
#define IDC_USB_INFO 1023
#define IDC_USB_SEARCH 1024
#define IDC_LABEL_A 11008
#define IDC_LABEL_B 11009
