// Replaced as the workbook writer's sources arrive.
