select datum from jizdy
where datum > "32.1.2024"