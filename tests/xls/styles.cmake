korvo_test(NAME xls_styles SOURCES test_styles.cpp LIBS korvo_xls)
